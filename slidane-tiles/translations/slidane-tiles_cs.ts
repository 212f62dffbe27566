<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="cs_CZ">
<context>
    <name>confinement</name>
    <message>
        <source>the decoder cannot be confined (%1: %2)</source>
        <translation>dekodér nelze izolovat (%1: %2)</translation>
    </message>
</context>
<context>
    <name>decoder</name>
    <message>
        <source>wrong use of the decoder process</source>
        <translation>nesprávné použití procesu dekodéru</translation>
    </message>
    <message>
        <source>the decoder&apos;s input is not a file</source>
        <translation>vstupem dekodéru není soubor</translation>
    </message>
    <message>
        <source>%1: the photo is not decoded, as %2</source>
        <translation>%1: fotka nebude dekódována, protože %2</translation>
    </message>
    <message>
        <source>segmentation fault</source>
        <translation>chyba segmentace</translation>
    </message>
    <message>
        <source>bus error</source>
        <translation>chyba sběrnice</translation>
    </message>
    <message>
        <source>illegal instruction</source>
        <translation>neplatná instrukce</translation>
    </message>
    <message>
        <source>arithmetic error</source>
        <translation>aritmetická chyba</translation>
    </message>
    <message>
        <source>aborted</source>
        <translation>ukončení voláním abort</translation>
    </message>
    <message>
        <source>signal %1</source>
        <translation>signál %1</translation>
    </message>
    <message>
        <source>%1: the picture&apos;s decoder %2; the photo may be damaged or hostile</source>
        <translation>%1: dekodér obrázku %2; fotka může být poškozená nebo záměrně škodlivá</translation>
    </message>
    <message numerus="yes">
        <source>did not finish within %n s and was stopped</source>
        <translation>
            <numerusform>nedoběhl do %n s a byl zastaven</numerusform>
            <numerusform>nedoběhl do %n s a byl zastaven</numerusform>
            <numerusform>nedoběhl do %n s a byl zastaven</numerusform>
        </translation>
    </message>
    <message>
        <source>used up its processor time and was stopped</source>
        <translation>vyčerpal svůj čas procesoru a byl zastaven</translation>
    </message>
    <message>
        <source>ran out of the %1 MiB of memory it may use</source>
        <translation>vyčerpal %1 MiB paměti, které smí použít</translation>
    </message>
    <message>
        <source>tried a step outside its confinement and was stopped</source>
        <translation>se pokusil o krok mimo svou izolaci a byl zastaven</translation>
    </message>
    <message>
        <source>crashed (%1)</source>
        <translation>spadl (%1)</translation>
    </message>
    <message>
        <source>gave an answer out of form</source>
        <translation>odpověděl v nesprávném tvaru</translation>
    </message>
    <message>
        <source>%1: cannot start the picture&apos;s decoder (%2)</source>
        <translation>%1: dekodér obrázku nelze spustit (%2)</translation>
    </message>
</context>
<context>
    <name>folderwriter</name>
    <message>
        <source>the earlier files are unchanged</source>
        <translation>dřívější soubory zůstaly beze změny</translation>
    </message>
    <message>
        <source>the folder holds part of the new set until a later make or check in it puts the rest in place</source>
        <translation>ve složce je jen část nové sady; zbytek přesune na místo až příští příkaz make nebo check spuštěný v ní</translation>
    </message>
    <message>
        <source>%1: %2 is not a regular file; remove it while no slidane-tiles runs there</source>
        <translation>%1: %2 není obyčejný soubor; odstraňte jej, když ve složce neběží žádný slidane-tiles</translation>
    </message>
    <message>
        <source>%1: another slidane-tiles is using this folder; try again when it has finished</source>
        <translation>%1: tuto složku právě používá jiný slidane-tiles; zkuste to znovu, až skončí</translation>
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
        <translation>soubor zámku %1 nelze otevřít</translation>
    </message>
    <message>
        <source>its owner can remove it while no slidane-tiles runs there</source>
        <translation>jeho vlastník jej může odstranit, když ve složce neběží žádný slidane-tiles</translation>
    </message>
    <message>
        <source>nothing was changed</source>
        <translation>nic se nezměnilo</translation>
    </message>
    <message>
        <source>cannot make the lock file %1</source>
        <translation>soubor zámku %1 nelze vytvořit</translation>
    </message>
    <message>
        <source>slidane-tiles writes only in a folder that this user may write in</source>
        <translation>slidane-tiles zapisuje jen do složek, do kterých smí tento uživatel zapisovat</translation>
    </message>
    <message>
        <source>cannot read the lock file %1</source>
        <translation>soubor zámku %1 nelze přečíst</translation>
    </message>
    <message>
        <source>cannot look for the journal of an interrupted run</source>
        <translation>nelze zjistit, zda ve složce zůstal žurnál přerušeného běhu</translation>
    </message>
    <message>
        <source>cannot read the journal of an interrupted run</source>
        <translation>žurnál přerušeného běhu nelze přečíst</translation>
    </message>
    <message>
        <source>cannot put %1 in place</source>
        <translation>%1 nelze přesunout na místo</translation>
    </message>
    <message>
        <source>cannot flush the folder</source>
        <translation>změny ve složce nelze uložit na disk</translation>
    </message>
    <message>
        <source>cannot remove the journal</source>
        <translation>žurnál nelze odstranit</translation>
    </message>
    <message>
        <source>the earlier files are unchanged until a later make or check in this folder puts the new set in place</source>
        <translation>dřívější soubory zůstávají beze změny, dokud je pozdější příkaz make nebo check v této složce nenahradí novou sadou</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>%1 nelze zapsat</translation>
    </message>
    <message>
        <source>cannot write the journal</source>
        <translation>žurnál nelze zapsat</translation>
    </message>
    <message>
        <source>cannot put the journal in place</source>
        <translation>žurnál nelze přesunout na místo</translation>
    </message>
    <message>
        <source>this user may only read the lock file %1, and this file system locks a file only for a user who may write it; the lock file&apos;s owner can remove it while no slidane-tiles runs there</source>
        <translation>tento uživatel smí soubor zámku %1 jen číst a tento souborový systém zamkne soubor jen uživateli, který do něj smí zapisovat; vlastník souboru zámku jej může odstranit, když ve složce neběží žádný slidane-tiles</translation>
    </message>
    <message>
        <source>the folder may hold part of the new set until a later make or check in it can read the journal</source>
        <translation>ve složce může být část nové sady, dokud žurnál nepřečte pozdější příkaz make nebo check v této složce</translation>
    </message>
    <message>
        <source>a power loss may bring back part of the earlier set until a later make or check in it finishes</source>
        <translation>po výpadku napájení se může část dřívější sady vrátit, dokud práci nedokončí pozdější příkaz make nebo check v této složce</translation>
    </message>
    <message>
        <source>its new file is gone and %1 is not the new one; remove %2 and make the set again</source>
        <translation>jeho nový soubor zmizel a %1 není ten nový; odstraňte %2 a vytvořte sadu znovu</translation>
    </message>
    <message>
        <source>%1 is in the way; remove it, and the next make or check in this folder puts the rest of the new set in place</source>
        <translation>%1 překáží; odstraňte jej a zbytek nové sady přesune na místo příští příkaz make nebo check v této složce</translation>
    </message>
    <message>
        <source>the folder holds part of the new set until a make or check by a user who may write in it puts the rest in place</source>
        <translation>ve složce je část nové sady, dokud zbytek nepřesune na místo příkaz make nebo check spuštěný uživatelem, který do ní smí zapisovat</translation>
    </message>
    <message>
        <source>the earlier file is unchanged</source>
        <translation>dřívější soubor zůstal beze změny</translation>
    </message>
    <message>
        <source>%1 is in place, but a power loss may bring back the earlier one</source>
        <translation>%1 je na místě, ale po výpadku napájení se může vrátit ten dřívější</translation>
    </message>
    <message>
        <source>the new set is in place, and a later make or check in this folder removes the journal</source>
        <translation>nová sada je na místě a žurnál odstraní pozdější příkaz make nebo check v této složce</translation>
    </message>
    <message>
        <source>remove %1, which is in the way</source>
        <translation>odstraňte %1, protože překáží</translation>
    </message>
    <message>
        <source>its new file is gone, and a journal of version 1.0.0 cannot tell whether %1 is the new one; remove %2 and make the set again</source>
        <translation>jeho nový soubor zmizel a žurnál verze 1.0.0 neumí určit, zda je %1 ten nový; odstraňte %2 a vytvořte sadu znovu</translation>
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
        <translation>--launcher vyžaduje název</translation>
    </message>
    <message>
        <source>--launcher: the name has a control character</source>
        <translation>--launcher: název obsahuje řídicí znak</translation>
    </message>
    <message>
        <source>--launcher: the name is too long for a menu entry&apos;s file name; shorten it</source>
        <translation>--launcher: název je pro jméno souboru položky nabídky příliš dlouhý; zkraťte jej</translation>
    </message>
    <message>
        <source>%1: cannot write menu entries there</source>
        <translation>%1: sem nelze ukládat položky nabídky</translation>
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
make   vytvoří z FOTKY soubory dlaždic 0.bmp … 15.bmp obrázkového hlavolamu
       ve SLOŽCE (není-li zadána, v aktuální složce), a to všechny, nebo žádný.
check  vypíše u každého souboru dlaždice ve SLOŽCE, zda jej hra přečte,
       a zda všech šestnáct pochází z jedné fotky.
play   vytvoří hlavolam z FOTKY (není-li zadána, vybere se v dialogu) ve vlastní
       složce v ~/.local/share/slidane a spustí na něm hru.

  --force          nahradí existující soubory dlaždic i položku nabídky
  --launcher NÁZEV přidá také položku nabídky NÁZEV, která spustí hru ve SLOŽCE
  -h, --help       vypíše tuto nápovědu a skončí
      --version    vypíše verzi a skončí

Návratový kód: 0 při úspěchu (u check: hra zobrazí všech šestnáct souborů),
1 při neúspěchu, 2 při chybném použití. Viz slidane-tiles(6).
</translation>
    </message>
    <message>
        <source>Try &apos;slidane-tiles --help&apos; for more information.</source>
        <translation>Více informací získáte příkazem „slidane-tiles --help“.</translation>
    </message>
    <message>
        <source>make needs a PHOTO</source>
        <translation>make vyžaduje FOTKU</translation>
    </message>
    <message>
        <source>make takes a PHOTO and a FOLDER, and no more: %1</source>
        <translation>make očekává FOTKU a nejvýše jednu SLOŽKU; přebývá: %1</translation>
    </message>
    <message>
        <source>Wrote the menu entry %1</source>
        <translation>Položka nabídky byla zapsána do souboru %1</translation>
    </message>
    <message>
        <source>Wrote 0.bmp ... 15.bmp. Start the picture puzzle with:</source>
        <translation>Soubory 0.bmp … 15.bmp jsou zapsány. Obrázkový hlavolam spustíte příkazem:</translation>
    </message>
    <message>
        <source>check takes one FOLDER, and no more: %1</source>
        <translation>check očekává nejvýše jednu SLOŽKU; přebývá: %1</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>neznámý příkaz „%1“</translation>
    </message>
    <message>
        <source>Finished putting in place the files of a make that was interrupted.</source>
        <translation>Soubory z přerušeného příkazu make byly přesunuty na svá místa.</translation>
    </message>
    <message>
        <source>The game shows these sixteen pictures.</source>
        <translation>Hra zobrazí těchto šestnáct obrázků.</translation>
    </message>
    <message numerus="yes">
        <source>The game shows its built-in pictures: %n of the sixteen files cannot be read.</source>
        <translation>
            <numerusform>Hra zobrazí své vestavěné obrázky: %n soubor ze šestnácti nelze přečíst.</numerusform>
            <numerusform>Hra zobrazí své vestavěné obrázky: %n soubory ze šestnácti nelze přečíst.</numerusform>
            <numerusform>Hra zobrazí své vestavěné obrázky: %n souborů ze šestnácti nelze přečíst.</numerusform>
        </translation>
    </message>
    <message>
        <source>slidane-tiles make [--force] [--launcher NAME] [--] PHOTO [FOLDER]</source>
        <translation>slidane-tiles make [--force] [--launcher NÁZEV] [--] FOTKA [SLOŽKA]</translation>
    </message>
    <message>
        <source>slidane-tiles check [--] [FOLDER]</source>
        <translation>slidane-tiles check [--] [SLOŽKA]</translation>
    </message>
    <message>
        <source>slidane-tiles play [--] [PHOTO]</source>
        <translation>slidane-tiles play [--] [FOTKA]</translation>
    </message>
    <message>
        <source>Usage: %1</source>
        <translation>Použití: %1</translation>
    </message>
    <message numerus="yes">
        <source>Mixed set: %1 not made together with the other files (copied from another set, or changed since); the game shows them all the same.</source>
        <translation>
            <numerusform>Smíšená sada: soubor %1 nevznikl spolu s ostatními (byl zkopírován z jiné sady nebo od té doby změněn); hra ho přesto zobrazí.</numerusform>
            <numerusform>Smíšená sada: soubory %1 nevznikly spolu s ostatními (byly zkopírovány z jiné sady nebo od té doby změněny); hra je přesto zobrazí.</numerusform>
            <numerusform>Smíšená sada: soubory %1 nevznikly spolu s ostatními (byly zkopírovány z jiné sady nebo od té doby změněny); hra je přesto zobrazí.</numerusform>
        </translation>
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
        <translation>je to soubor z rodiny formátů HEIF, ale neobsahuje žádný druh obrázku, který slidane-tiles umí přečíst</translation>
    </message>
    <message>
        <source>its picture is compressed in a way no installed decoder reads</source>
        <translation>obrázek je komprimován způsobem, který žádný nainstalovaný dekodér neumí přečíst</translation>
    </message>
    <message>
        <source>it uses a HEIF feature this system&apos;s libheif does not read</source>
        <translation>používá funkci formátu HEIF, kterou knihovna libheif v tomto systému nepodporuje</translation>
    </message>
    <message>
        <source>it is larger than libheif&apos;s safety limits allow</source>
        <translation>je větší, než dovolují bezpečnostní limity knihovny libheif</translation>
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
        <translation>soubor je poškozený nebo neúplný</translation>
    </message>
    <message>
        <source>the picture data are damaged</source>
        <translation>data obrázku jsou poškozená</translation>
    </message>
    <message>
        <source>libheif cannot read it (%1)</source>
        <translation>knihovna libheif jej nedokáže přečíst (%1)</translation>
    </message>
    <message>
        <source>the decoder gave no picture</source>
        <translation>dekodér nevrátil žádný obrázek</translation>
    </message>
    <message>
        <source>; WebP and TIFF need Qt&apos;s image format plugins (qt6-image-formats-plugins)</source>
        <translation>; formáty WebP a TIFF vyžadují zásuvné moduly Qt pro obrazové formáty (qt6-image-formats-plugins)</translation>
    </message>
    <message>
        <source>%1: not a picture in a format slidane-tiles reads (%2)%3</source>
        <translation>%1: není to obrázek ve formátu, který slidane-tiles umí přečíst (%2)%3</translation>
    </message>
    <message>
        <source>%1: cannot read a picture from it (%2)</source>
        <translation>%1: obrázek z něj nelze přečíst (%2)</translation>
    </message>
    <message>
        <source>%1: the JPEG file is cut short, its end is missing</source>
        <translation>%1: soubor JPEG je neúplný, chybí mu konec</translation>
    </message>
    <message>
        <source>%1: the picture data are damaged (%2)</source>
        <translation>%1: data obrázku jsou poškozená (%2)</translation>
    </message>
    <message>
        <source>%1: no such file</source>
        <translation>%1: soubor neexistuje</translation>
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
        <translation>%1: soubor nelze otevřít (%2)</translation>
    </message>
    <message>
        <source>%1: the file is empty</source>
        <translation>%1: soubor je prázdný</translation>
    </message>
    <message>
        <source>it is an animation or a sequence of pictures, not a still photo</source>
        <translation>je to animace nebo sled obrázků, ne statická fotka</translation>
    </message>
    <message>
        <source>its header is damaged or missing</source>
        <translation>jeho hlavička je poškozená nebo chybí</translation>
    </message>
    <message>
        <source>%1: cannot read it (%2)</source>
        <translation>%1: soubor nelze přečíst (%2)</translation>
    </message>
    <message>
        <source>%1: the file changed while it was read; open it once it is saved</source>
        <translation>%1: soubor se během čtení změnil; otevřete jej, až bude uložen</translation>
    </message>
    <message>
        <source>%1: the picture is %2 × %3 pixels (%4 megapixels), over the limit of %5 megapixels for %6</source>
        <translation>%1: obrázek má rozměry %2 × %3 pixelů (%4 Mpx), což překračuje limit %5 Mpx pro %6</translation>
    </message>
    <message>
        <source>%1 pictures</source>
        <translation>obrázky %1</translation>
    </message>
    <message>
        <source>%1: the photo is %2 × %3 pixels; it needs at least %4 × %4, and is not enlarged</source>
        <translation>%1: fotka má jen %2 × %3 pixelů, ale je potřeba alespoň %4 × %4; menší fotky slidane-tiles nezvětšuje</translation>
    </message>
    <message>
        <source>progressive JPEGs</source>
        <translation>progresivní JPEGy</translation>
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
        <translation>Hra slidane není nainstalovaná; k hraní hlavolamu nainstalujte balíček slidane.</translation>
    </message>
    <message>
        <source>The picture puzzle cannot be started.</source>
        <translation>Obrázkový hlavolam nelze spustit.</translation>
    </message>
    <message>
        <source>play takes one PHOTO, and no more: %1</source>
        <translation>play očekává nejvýše jednu FOTKU; přebývá: %1</translation>
    </message>
    <message>
        <source>play needs a desktop session, and neither DISPLAY nor WAYLAND_DISPLAY is set</source>
        <translation>play potřebuje grafické prostředí, ale není nastavena proměnná DISPLAY ani WAYLAND_DISPLAY</translation>
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
        <translation>větší než povolených 8 MiB</translation>
    </message>
    <message>
        <source>picture larger than the limit of 1024 pixels a side</source>
        <translation>obrázek má stranu delší než povolených 1024 pixelů</translation>
    </message>
    <message>
        <source>cut short</source>
        <translation>neúplný</translation>
    </message>
    <message>
        <source>not a picture Qt can read</source>
        <translation>není to obrázek, který Qt umí přečíst</translation>
    </message>
    <message>
        <source>too little memory to read it</source>
        <translation>na jeho přečtení není dost paměti</translation>
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
        <translation>%1: složka neexistuje</translation>
    </message>
    <message>
        <source>%1: cannot be read (%2)</source>
        <translation>%1: složku nelze číst (%2)</translation>
    </message>
    <message>
        <source>%1 exists and is not a file; it is not replaced</source>
        <translation>%1 už existuje a není to soubor, proto se nenahradí</translation>
    </message>
    <message>
        <source>%1.bmp: cannot encode the bitmap</source>
        <translation>%1.bmp: bitmapu nelze zakódovat</translation>
    </message>
    <message>
        <source>%1 exists; %2</source>
        <translation>%1 už existuje; %2</translation>
    </message>
</context>
</TS>
