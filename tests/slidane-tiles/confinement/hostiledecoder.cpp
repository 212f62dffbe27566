// A decoder gone bad, for tests: preloaded, it takes the place of libjpeg's
// first parsing function, as code smuggled in by a crafted photo would run.
// A photo whose first bytes hold "hostile:ACTION:HOME;" makes it try ACTION
// on the player's home folder HOME; any other photo is decoded as usual. When an attempt succeeds, decoding goes
// on as if nothing happened, as an exploit would; when it fails, it aborts.
#include <cstdio> // jpeglib.h needs FILE
#include <jpeglib.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The decoder process is given no HOME: the photo names it, as an exploit
// would know or guess it.
std::string homeFolder;

std::string home()
{
    return homeFolder;
}

// The action named in the bytes libjpeg has buffered, or nothing.
std::string actionIn(j_decompress_ptr info)
{
    if (info->src->bytes_in_buffer == 0) {
        info->src->fill_input_buffer(info);
    }
    const std::string bytes(reinterpret_cast<const char *>(info->src->next_input_byte), info->src->bytes_in_buffer);
    const std::size_t at = bytes.find("hostile:");
    const std::size_t colon = bytes.find(':', at + 8);
    const std::size_t end = bytes.find(';', colon);
    if (at == std::string::npos || colon == std::string::npos || end == std::string::npos) {
        return {};
    }
    homeFolder = bytes.substr(colon + 1, end - colon - 1);
    return bytes.substr(at + 8, colon - at - 8);
}

bool readSecret()
{
    const int fd = ::open((home() + "/.ssh/id_ed25519").c_str(), O_RDONLY);
    char secret[64];
    return fd >= 0 && ::read(fd, secret, sizeof secret) > 0;
}

bool writeFile()
{
    const int fd = ::open((home() + "/.config/autostart/hostile.desktop").c_str(), O_WRONLY | O_CREAT, 0644);
    return fd >= 0 && ::write(fd, "[Desktop Entry]\n", 16) == 16;
}

bool sendOut()
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = home() + "/listener.sock";
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    return fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && ::write(fd, "stolen", 6) == 6;
}

bool runShell()
{
    const std::string command = "touch " + home() + "/shell-ran";
    ::execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
    return false;
}

bool allocateWithoutEnd()
{
    std::vector<void *> blocks;
    for (;;) {
        void *block = std::malloc(64 << 20);
        if (block == nullptr) {
            return false;
        }
        std::memset(block, 1, 64 << 20);
        blocks.push_back(block);
    }
}

// An answer of the right tag and the wrong length, then a clean exit.
bool answerShort()
{
    const char reply[] = "S0123456789";
    ::_exit(::write(STDOUT_FILENO, reply, sizeof reply - 1) > 0 ? 0 : 3);
}

bool attempt(const std::string &action)
{
    if (action == "readhome") {
        return readSecret();
    }
    if (action == "writehome") {
        return writeFile();
    }
    if (action == "connect") {
        return sendOut();
    }
    if (action == "shell") {
        return runShell();
    }
    if (action == "crash") {
        std::raise(SIGSEGV);
    }
    if (action == "spin") {
        for (volatile bool forever = true; forever;) { }
    }
    if (action == "bomb") {
        return allocateWithoutEnd();
    }
    if (action == "short") {
        return answerShort();
    }
    if (action == "dawdle") { // while the photo is changed under it
        ::sleep(2);
    }
    return true;
}

} // namespace

extern "C" int jpeg_read_header(j_decompress_ptr info, boolean requireImage)
{
    using Real = int (*)(j_decompress_ptr, boolean);
    // libjpeg came with Qt's JPEG plugin, loaded privately.
    static const auto real =
        reinterpret_cast<Real>(::dlsym(::dlopen("libjpeg.so.62", RTLD_LAZY | RTLD_NOLOAD), "jpeg_read_header"));
    const std::string action = actionIn(info);
    if (!action.empty() && !attempt(action)) {
        std::abort();
    }
    return real(info, requireImage);
}
