<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CSkinValidator</name>
    <message>
        <source>nothing starts a recording</source>
        <translation>nichts startet eine Aufnahme</translation>
    </message>
    <message>
        <source>nothing stops a recording</source>
        <translation>nichts beendet eine Aufnahme</translation>
    </message>
    <message>
        <source>nothing closes the window</source>
        <translation>nichts schließt das Fenster</translation>
    </message>
    <message>
        <source>%1: missing</source>
        <translation>%1: fehlt</translation>
    </message>
    <message>
        <source>%1: lies outside the package</source>
        <translation>%1: liegt außerhalb des Pakets</translation>
    </message>
    <message>
        <source>%1: missing (task notifier picture)</source>
        <translation>%1: fehlt (Bild des Benachrichtigungsfensters)</translation>
    </message>
    <message>
        <source>%1: image %2 lies outside the package</source>
        <translation>%1: Bild %2 liegt außerhalb des Pakets</translation>
    </message>
    <message>
        <source>%1: image not found: %2</source>
        <translation>%1: Bild nicht gefunden: %2</translation>
    </message>
    <message>
        <source>%1: image cannot be loaded: %2 (%3)</source>
        <translation>%1: Bild kann nicht geladen werden: %2 (%3)</translation>
    </message>
    <message>
        <source>%1: %2 is %3, not twice %4</source>
        <translation>%1: %2 ist %3, nicht doppelt so groß wie %4</translation>
    </message>
    <message>
        <source>%1: no background image</source>
        <translation>%1: kein Hintergrundbild</translation>
    </message>
    <message>
        <source>%1: %2 entries, more than the %3 a section may have; the window reads the first %3</source>
        <translation>%1: %2 Einträge, mehr als die %3, die ein Abschnitt haben darf; das Fenster liest die ersten %3</translation>
    </message>
    <message>
        <source>%1: value has %2 characters, more than %3</source>
        <translation>%1: Wert hat %2 Zeichen, mehr als %3</translation>
    </message>
    <message>
        <source>%1: %2 fields, %3 needs %4</source>
        <translation>%1: %2 Felder, %3 braucht %4</translation>
    </message>
    <message>
        <source>%1: %2 is larger than the %3 a window may be; the window leaves it out</source>
        <translation>%1: %2 ist größer als die %3, die ein Fenster haben darf; das Fenster lässt es weg</translation>
    </message>
    <message>
        <source>%1: %2 is larger than the %3 a control may be; the window leaves it out</source>
        <translation>%1: %2 ist größer als die %3, die ein Steuerelement haben darf; das Fenster lässt es weg</translation>
    </message>
    <message>
        <source>%1: right %2 is less than left %3</source>
        <translation>%1: rechts %2 ist kleiner als links %3</translation>
    </message>
    <message>
        <source>%1: bottom %2 is less than top %3</source>
        <translation>%1: unten %2 ist kleiner als oben %3</translation>
    </message>
    <message>
        <source>%1: rectangle %2 lies mostly outside the %3 notifier picture</source>
        <translation>%1: Rechteck %2 liegt größtenteils außerhalb des %3 großen Benachrichtigungsbilds</translation>
    </message>
    <message>
        <source>%1: rectangle %2 lies outside the %3 notifier picture</source>
        <translation>%1: Rechteck %2 liegt außerhalb des %3 großen Benachrichtigungsbilds</translation>
    </message>
    <message>
        <source>%1: rectangle %2 lies mostly outside the %3 background</source>
        <translation>%1: Rechteck %2 liegt größtenteils außerhalb des %3 großen Hintergrunds</translation>
    </message>
    <message>
        <source>%1: rectangle %2 lies outside the %3 background</source>
        <translation>%1: Rechteck %2 liegt außerhalb des %3 großen Hintergrunds</translation>
    </message>
    <message>
        <source>%1: page %2 does not lie on the %3 notifier picture</source>
        <translation>%1: Seite %2 liegt nicht auf dem %3 großen Benachrichtigungsbild</translation>
    </message>
    <message>
        <source>%1: image %2 smaller than its rectangle %3: %4</source>
        <translation>%1: Bild %2 kleiner als sein Rechteck %3: %4</translation>
    </message>
    <message>
        <source>%1: never read; keys must be numbered 1 to %2 without gaps</source>
        <translation>%1: wird nie gelesen; Schlüssel müssen lückenlos von 1 bis %2 nummeriert sein</translation>
    </message>
    <message>
        <source>%1 (key %2) is ignored</source>
        <translation>%1 (Schlüssel %2) wird ignoriert</translation>
    </message>
    <message>
        <source>%1 (key %2) and 1 more entry after it are ignored</source>
        <translation>%1 (Schlüssel %2) und 1 weiterer Eintrag danach werden ignoriert</translation>
    </message>
    <message>
        <source>%1 (key %2) and %3 more entries after it are ignored</source>
        <translation>%1 (Schlüssel %2) und %3 weitere Einträge danach werden ignoriert</translation>
    </message>
    <message>
        <source>%1 key %2 missing</source>
        <translation>In %1 fehlt Schlüssel %2</translation>
    </message>
    <message>
        <source>%1 keys %2 missing</source>
        <translation>In %1 fehlen die Schlüssel %2</translation>
    </message>
    <message>
        <source>%1: the window reads keys 1 to %2 only, so %3</source>
        <translation>%1: Das Fenster liest nur die Schlüssel 1 bis %2; %3</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>entry %1</source>
        <translation>Eintrag %1</translation>
    </message>
    <message>
        <source>%1: no %2 button; %3</source>
        <translation>%1: keine Schaltfläche %2; %3</translation>
    </message>
</context>
<context>
    <name>CSkintool</name>
    <message>
        <source>usage: skintool list PACKAGE
       skintool unpack [--force] PACKAGE FOLDER
       skintool check PACKAGE
       skintool --help
       skintool --version
</source>
        <translation>Aufruf: skintool list PAKET
        skintool unpack [--force] PAKET ORDNER
        skintool check PAKET
        skintool --help
        skintool --version
</translation>
    </message>
    <message>
        <source>unpack writes nothing through a symbolic link inside FOLDER, and replaces a file
that is already there only with --force
</source>
        <translation>unpack schreibt nichts durch einen symbolischen Link in ORDNER hindurch und ersetzt
eine bereits vorhandene Datei nur mit --force
</translation>
    </message>
    <message>
        <source>exit status: 0 done, and check found no problem; 1 open failed, or check found
problems; 2 extract failed, or a file exists that unpack may not replace;
3 central directory not found; 64 usage error
</source>
        <translation>Exit-Status: 0 erledigt, und check hat kein Problem gefunden; 1 Öffnen fehlgeschlagen,
oder check hat Probleme gefunden; 2 Entpacken fehlgeschlagen, oder eine Datei existiert,
die unpack nicht ersetzen darf; 3 zentrales Verzeichnis nicht gefunden; 64 Aufruffehler
</translation>
    </message>
    <message>
        <source>Try &apos;skintool --help&apos;.</source>
        <translation>„skintool --help“ liefert weitere Informationen.</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>unknown command %1</source>
        <translation>unbekannter Befehl %1</translation>
    </message>
    <message>
        <source>too many arguments for %1</source>
        <translation>zu viele Argumente für %1</translation>
    </message>
    <message>
        <source>Open failed (%1)</source>
        <translation>Öffnen fehlgeschlagen (%1)</translation>
    </message>
    <message>
        <source>%1 replaces files that exist</source>
        <translation>%1 ersetzt vorhandene Dateien</translation>
    </message>
    <message>
        <source>cannot create a temporary folder: %1</source>
        <translation>temporärer Ordner kann nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>%1: package cannot be unpacked</source>
        <translation>%1: Paket kann nicht entpackt werden</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>kein Befehl angegeben</translation>
    </message>
    <message>
        <source>too few arguments for %1</source>
        <translation>zu wenige Argumente für %1</translation>
    </message>
</context>
</TS>
