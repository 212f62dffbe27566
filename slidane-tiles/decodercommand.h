#pragma once

// The decoder process: loads the decoders, locks itself down, decodes the
// photo on its standard input and answers on its standard output, as
// decoderprocess.h describes.
int runDecoder(int argc, char *argv[]);
