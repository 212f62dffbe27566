<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="cs_CZ">
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
        <source>Try &apos;slidane-tiles --help&apos; for more information.</source>
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
        <source>unknown command &apos;%1&apos;</source>
        <translation>neznámý příkaz „%1“</translation>
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
        <source>it uses a HEIF feature this system&apos;s libheif does not read</source>
        <translation>používá vlastnost formátu HEIF, kterou knihovna libheif v tomto systému nečte</translation>
    </message>
    <message>
        <source>it is larger than libheif&apos;s safety limits allow</source>
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
        <source>; WebP and TIFF need Qt&apos;s image format plugins (qt6-image-formats-plugins)</source>
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
        <source>play takes one PHOTO, and no more</source>
        <translation>play bere jednu FOTKU, ne víc</translation>
    </message>
    <message>
        <source>The game slidane is not installed; install the package slidane to play the puzzle.</source>
        <translation>Hra slidane není nainstalovaná; pro hraní hlavolamu nainstalujte balíček slidane.</translation>
    </message>
</context>
</TS>
