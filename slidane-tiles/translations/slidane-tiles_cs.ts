<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="cs_CZ">
<context>
    <name>folderwriter</name>
    <message>
        <source>the earlier files are unchanged</source>
        <translation>dřívější soubory zůstaly beze změny</translation>
    </message>
    <message>
        <source>the folder holds part of the new set until a later make or check in it puts the rest in place</source>
        <translation>složka obsahuje část nové sady, dokud zbytek nedoplní pozdější make nebo check v ní</translation>
    </message>
    <message>
        <source>%1: %2 is not a regular file; remove it while no slidane-tiles runs there</source>
        <translation>%1: %2 není obyčejný soubor; odstraňte jej, dokud tam neběží žádný slidane-tiles</translation>
    </message>
    <message>
        <source>%1: another slidane-tiles is using this folder; try again when it has finished</source>
        <translation>%1: tuto složku používá jiný slidane-tiles; zkuste to znovu, až skončí</translation>
    </message>
    <message>
        <source>cannot open the folder</source>
        <translation>složku nelze otevřít</translation>
    </message>
    <message>
        <source>cannot lock the folder</source>
        <translation>složku nelze zamknout</translation>
    </message>
    <message>
        <source>cannot open the lock file %1</source>
        <translation>zámkový soubor %1 nelze otevřít</translation>
    </message>
    <message>
        <source>its owner can remove it while no slidane-tiles runs there</source>
        <translation>jeho vlastník jej může odstranit, dokud tam neběží žádný slidane-tiles</translation>
    </message>
    <message>
        <source>nothing was changed</source>
        <translation>nic se nezměnilo</translation>
    </message>
    <message>
        <source>cannot make the lock file %1</source>
        <translation>zámkový soubor %1 nelze vytvořit</translation>
    </message>
    <message>
        <source>slidane-tiles writes only in a folder that this user may write in</source>
        <translation>slidane-tiles zapisuje jen do složky, do které tento uživatel smí zapisovat</translation>
    </message>
    <message>
        <source>cannot read the lock file %1</source>
        <translation>zámkový soubor %1 nelze přečíst</translation>
    </message>
    <message>
        <source>cannot look for the journal of an interrupted run</source>
        <translation>nelze hledat deník přerušeného běhu</translation>
    </message>
    <message>
        <source>cannot read the journal of an interrupted run</source>
        <translation>deník přerušeného běhu nelze přečíst</translation>
    </message>
    <message>
        <source>cannot put %1 in place</source>
        <translation>%1 nelze umístit na své místo</translation>
    </message>
    <message>
        <source>cannot flush the folder</source>
        <translation>složku nelze zapsat na disk</translation>
    </message>
    <message>
        <source>cannot remove the journal</source>
        <translation>deník nelze odstranit</translation>
    </message>
    <message>
        <source>the earlier files are unchanged until a later make or check in this folder puts the new set in place</source>
        <translation>dřívější soubory zůstávají beze změny, dokud novou sadu nedoplní pozdější make nebo check v této složce</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>%1 nelze zapsat</translation>
    </message>
    <message>
        <source>cannot write the journal</source>
        <translation>deník nelze zapsat</translation>
    </message>
    <message>
        <source>cannot put the journal in place</source>
        <translation>deník nelze umístit na své místo</translation>
    </message>
</context>
<context>
    <name>launcher</name>
    <message>
        <source>give --force to replace the menu entry</source>
        <translation>položku nabídky nahradíte volbou --force</translation>
    </message>
    <message>
        <source>--launcher needs a name</source>
        <translation>--launcher potřebuje název</translation>
    </message>
    <message>
        <source>--launcher: the name has a control character</source>
        <translation>--launcher: název obsahuje řídicí znak</translation>
    </message>
    <message>
        <source>--launcher: the name is too long for a menu entry's file name; shorten it</source>
        <translation>--launcher: název je na jméno souboru položky nabídky příliš dlouhý; zkraťte jej</translation>
    </message>
    <message>
        <source>%1: cannot write menu entries there</source>
        <translation>%1: sem nelze zapisovat položky nabídky</translation>
    </message>
    <message>
        <source>Picture puzzle of </source>
        <translation>Obrázkový hlavolam: </translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>
make   turns PHOTO into the tile files 0.bmp ... 15.bmp of a picture puzzle
       in FOLDER (the current folder if none is given), all or none of them.
check  says for each tile file in FOLDER whether the game reads it, and
       whether the sixteen come from one photo.
play   makes the puzzle of PHOTO (chosen in a dialog if none is given) in a
       folder of its own below ~/.local/share/slidane and starts the game on it.

  --force          replace existing tile files and an existing menu entry
  --launcher NAME  also add a menu entry NAME that starts the game in FOLDER
  -h, --help       show this help and exit
      --version    show the version and exit

Exit status: 0 when done (check: the game shows the sixteen files),
1 when not, 2 for wrong usage. See slidane-tiles(6).
</source>
        <translation>
make   udělá z FOTKY soubory dlaždic 0.bmp ... 15.bmp obrázkového hlavolamu
       ve SLOŽCE (není-li dána, v aktuální složce), všechny, nebo žádný.
check  řekne o každém souboru dlaždice ve SLOŽCE, zda jej hra přečte,
       a zda všech šestnáct pochází z jedné fotky.
play   udělá hlavolam z FOTKY (není-li dána, vybere se v dialogu) ve vlastní
       složce pod ~/.local/share/slidane a spustí na něm hru.

  --force          nahradí existující soubory dlaždic a existující položku nabídky
  --launcher NÁZEV přidá i položku nabídky NÁZEV, která spustí hru ve SLOŽCE
  -h, --help       vypíše tuto nápovědu a skončí
      --version    vypíše verzi a skončí

Návratový kód: 0, je-li hotovo (check: hra ukáže šestnáct souborů),
1, není-li, 2 při chybném použití. Viz slidane-tiles(6).
</translation>
    </message>
    <message>
        <source>Try 'slidane-tiles --help' for more information.</source>
        <translation>Více se dozvíte příkazem „slidane-tiles --help“.</translation>
    </message>
    <message>
        <source>make needs a PHOTO</source>
        <translation>make potřebuje FOTKU</translation>
    </message>
    <message>
        <source>make takes a PHOTO and a FOLDER, and no more: %1</source>
        <translation>make bere FOTKU a SLOŽKU, nic víc: %1</translation>
    </message>
    <message>
        <source>Wrote the menu entry %1</source>
        <translation>Zapsána položka nabídky %1</translation>
    </message>
    <message>
        <source>Wrote 0.bmp ... 15.bmp. Start the picture puzzle with:</source>
        <translation>Zapsány soubory 0.bmp ... 15.bmp. Obrázkový hlavolam spustíte takto:</translation>
    </message>
    <message>
        <source>check takes one FOLDER, and no more: %1</source>
        <translation>check bere jednu SLOŽKU, nic víc: %1</translation>
    </message>
    <message>
        <source>unknown command '%1'</source>
        <translation>neznámý příkaz „%1“</translation>
    </message>
    <message>
        <source>Finished putting in place the files of a make that was interrupted.</source>
        <translation>Soubory přerušeného make byly doplněny na svá místa.</translation>
    </message>
    <message>
        <source>The game shows its built-in pictures: %1 of the sixteen files cannot be read.</source>
        <translation>Hra ukáže své vestavěné obrázky: %1 ze šestnácti souborů nelze přečíst.</translation>
    </message>
    <message>
        <source>Mixed set: %1 not made together with the other files (copied from another set, or changed since); the game shows them all the same.</source>
        <translation>Smíšená sada: %1 nevznikly spolu s ostatními soubory (zkopírovány z jiné sady nebo od té doby změněny); hra je přesto ukáže.</translation>
    </message>
    <message>
        <source>The game shows these sixteen pictures.</source>
        <translation>Hra ukáže těchto šestnáct obrázků.</translation>
    </message>
</context>
<context>
    <name>photo</name>
    <message>
        <source>the file cannot be opened</source>
        <translation>soubor nelze otevřít</translation>
    </message>
    <message>
        <source>it is a media file of the HEIF family, but holds no kind of picture slidane-tiles reads</source>
        <translation>je to soubor z rodiny HEIF, ale nemá v sobě žádný druh obrázku, který slidane-tiles čte</translation>
    </message>
    <message>
        <source>its picture is compressed in a way no installed decoder reads</source>
        <translation>obrázek je zkomprimován způsobem, který žádný nainstalovaný dekodér nepřečte</translation>
    </message>
    <message>
        <source>it uses a HEIF feature this system's libheif does not read</source>
        <translation>používá vlastnost formátu HEIF, kterou knihovna libheif v tomto systému nečte</translation>
    </message>
    <message>
        <source>it is larger than libheif's safety limits allow</source>
        <translation>je větší, než dovolují bezpečnostní meze knihovny libheif</translation>
    </message>
    <message>
        <source>too little memory</source>
        <translation>nedostatek paměti</translation>
    </message>
    <message>
        <source>it holds no still picture, only a video or a sequence</source>
        <translation>neobsahuje žádný statický obrázek, jen video nebo sekvenci</translation>
    </message>
    <message>
        <source>the file is damaged or cut short</source>
        <translation>soubor je poškozený nebo useknutý</translation>
    </message>
    <message>
        <source>the picture data are damaged</source>
        <translation>data obrázku jsou poškozená</translation>
    </message>
    <message>
        <source>libheif cannot read it (%1)</source>
        <translation>knihovna libheif jej nepřečte (%1)</translation>
    </message>
    <message>
        <source>the decoder gave no picture</source>
        <translation>dekodér nevydal žádný obrázek</translation>
    </message>
    <message>
        <source>%1: the %2 picture is %3 x %4 pixels (%5 megapixels), over the limit of %6 megapixels for %2 pictures</source>
        <translation>%1: obrázek %2 má %3 x %4 pixelů (%5 megapixelů), víc než mez %6 megapixelů pro obrázky %2</translation>
    </message>
    <message>
        <source>; WebP and TIFF need Qt's image format plugins (qt6-image-formats-plugins)</source>
        <translation>; WebP a TIFF potřebují zásuvné moduly Qt pro obrazové formáty (qt6-image-formats-plugins)</translation>
    </message>
    <message>
        <source>%1: not a picture in a format slidane-tiles reads (%2)%3</source>
        <translation>%1: není to obrázek ve formátu, který slidane-tiles čte (%2)%3</translation>
    </message>
    <message>
        <source>%1: the photo is %2 x %3 pixels; it needs at least %4 x %4, and is not enlarged</source>
        <translation>%1: fotka má %2 x %3 pixelů; potřebuje aspoň %4 x %4 a nezvětšuje se</translation>
    </message>
    <message>
        <source>%1: cannot read a picture from it (%2)</source>
        <translation>%1: nelze z něj přečíst obrázek (%2)</translation>
    </message>
    <message>
        <source>%1: the JPEG file is cut short, its end is missing</source>
        <translation>%1: soubor JPEG je useknutý, chybí mu konec</translation>
    </message>
    <message>
        <source>%1: the picture data are damaged (%2)</source>
        <translation>%1: data obrázku jsou poškozená (%2)</translation>
    </message>
    <message>
        <source>%1: no such file</source>
        <translation>%1: takový soubor neexistuje</translation>
    </message>
    <message>
        <source>%1: is a folder, not a photo</source>
        <translation>%1: je to složka, ne fotka</translation>
    </message>
    <message>
        <source>%1: not a regular file</source>
        <translation>%1: není to obyčejný soubor</translation>
    </message>
    <message>
        <source>%1: cannot open it (%2)</source>
        <translation>%1: nelze jej otevřít (%2)</translation>
    </message>
    <message>
        <source>%1: the file is empty</source>
        <translation>%1: soubor je prázdný</translation>
    </message>
</context>
<context>
    <name>play</name>
    <message>
        <source>Picture puzzle from a photo</source>
        <translation>Obrázkový hlavolam z fotky</translation>
    </message>
    <message>
        <source>Photos</source>
        <translation>Fotky</translation>
    </message>
    <message>
        <source>Choose a photo for the picture puzzle</source>
        <translation>Vyberte fotku pro obrázkový hlavolam</translation>
    </message>
    <message>
        <source>%1: cannot open the folder (%2)</source>
        <translation>%1: složku nelze otevřít (%2)</translation>
    </message>
    <message>
        <source>%1: cannot start the game (%2)</source>
        <translation>%1: hru nelze spustit (%2)</translation>
    </message>
    <message>
        <source>The game slidane is not installed; install the package slidane to play the puzzle.</source>
        <translation>Hra slidane není nainstalovaná; pro hraní hlavolamu nainstalujte balíček slidane.</translation>
    </message>
    <message>
        <source>The picture puzzle cannot be started.</source>
        <translation>Obrázkový hlavolam nelze spustit.</translation>
    </message>
</context>
<context>
    <name>tileset</name>
    <message>
        <source>read</source>
        <translation>přečten</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>chybí</translation>
    </message>
    <message>
        <source>cannot be opened</source>
        <translation>nelze otevřít</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>není obyčejný soubor</translation>
    </message>
    <message>
        <source>empty</source>
        <translation>prázdný</translation>
    </message>
    <message>
        <source>larger than the limit of 8 MiB</source>
        <translation>větší než mez 8 MiB</translation>
    </message>
    <message>
        <source>picture larger than the limit of 1024 pixels a side</source>
        <translation>obrázek větší než mez 1024 pixelů na stranu</translation>
    </message>
    <message>
        <source>cut short</source>
        <translation>useknutý</translation>
    </message>
    <message>
        <source>not a picture Qt can read</source>
        <translation>není obrázek, který Qt přečte</translation>
    </message>
    <message>
        <source>too little memory to read it</source>
        <translation>na přečtení je málo paměti</translation>
    </message>
    <message>
        <source>give --force to replace the tile files</source>
        <translation>soubory dlaždic nahradíte volbou --force</translation>
    </message>
    <message>
        <source>%1: cannot create the folder (%2)</source>
        <translation>%1: složku nelze vytvořit (%2)</translation>
    </message>
    <message>
        <source>%1: not a folder</source>
        <translation>%1: není to složka</translation>
    </message>
    <message>
        <source>%1: no such folder</source>
        <translation>%1: taková složka neexistuje</translation>
    </message>
    <message>
        <source>%1: cannot be read (%2)</source>
        <translation>%1: nelze číst (%2)</translation>
    </message>
    <message>
        <source>%1 exists and is not a file; it is not replaced</source>
        <translation>%1 existuje a není to soubor; nenahrazuje se</translation>
    </message>
    <message>
        <source>%1.bmp: cannot encode the bitmap</source>
        <translation>%1.bmp: bitmapu nelze zakódovat</translation>
    </message>
</context>
</TS>
