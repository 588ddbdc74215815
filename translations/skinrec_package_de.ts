<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CArchiveFileException</name>
    <message>
        <source>is a symbolic link, which unpacking does not follow</source>
        <translation>ist eine symbolische Verknüpfung, der das Entpacken nicht folgt</translation>
    </message>
    <message>
        <source>already exists</source>
        <translation>ist bereits vorhanden</translation>
    </message>
</context>
<context>
    <name>CZipException</name>
    <message>
        <source>archive error</source>
        <translation>Archivfehler</translation>
    </message>
    <message>
        <source>unexpected end of compressed data</source>
        <translation>unerwartetes Ende der komprimierten Daten</translation>
    </message>
    <message>
        <source>compressed data needs a dictionary</source>
        <translation>komprimierte Daten benötigen ein Wörterbuch</translation>
    </message>
    <message>
        <source>zlib file error</source>
        <translation>zlib-Dateifehler</translation>
    </message>
    <message>
        <source>zlib stream error</source>
        <translation>zlib-Datenstromfehler</translation>
    </message>
    <message>
        <source>damaged compressed data</source>
        <translation>beschädigte komprimierte Daten</translation>
    </message>
    <message>
        <source>out of memory while inflating</source>
        <translation>kein Speicher mehr beim Entpacken</translation>
    </message>
    <message>
        <source>compressed data ends early</source>
        <translation>komprimierte Daten enden vorzeitig</translation>
    </message>
    <message>
        <source>zlib version mismatch</source>
        <translation>zlib-Versionen passen nicht zusammen</translation>
    </message>
    <message>
        <source>damaged archive</source>
        <translation>beschädigtes Archiv</translation>
    </message>
    <message>
        <source>CRC-32 mismatch</source>
        <translation>CRC-32 stimmt nicht überein</translation>
    </message>
    <message>
        <source>volume set on removable media</source>
        <translation>mehrteiliges Archiv auf Wechseldatenträgern</translation>
    </message>
    <message>
        <source>volume change refused</source>
        <translation>Datenträgerwechsel abgelehnt</translation>
    </message>
    <message>
        <source>volume set creation aborted</source>
        <translation>Erstellen des mehrteiligen Archivs abgebrochen</translation>
    </message>
    <message>
        <source>too many volumes</source>
        <translation>zu viele Archivteile</translation>
    </message>
    <message>
        <source>central directory not found</source>
        <translation>zentrales Verzeichnis nicht gefunden</translation>
    </message>
    <message>
        <source>package too large for a skin</source>
        <translation>Paket zu groß für ein Skin</translation>
    </message>
    <message>
        <source>unsupported compression method %1 (use deflate)</source>
        <translation>nicht unterstützte Kompressionsmethode %1 (bitte Deflate verwenden)</translation>
    </message>
</context>
<context>
    <name>SkinImageFile</name>
    <message>
        <source>%1x%2 pixels, more than %3 a side</source>
        <translation>%1x%2 Pixel, mehr als %3 je Seite</translation>
    </message>
    <message>
        <source>not found</source>
        <translation>nicht gefunden</translation>
    </message>
</context>
<context>
    <name>SkinUnpacker</name>
    <message>
        <source>The central directory was not found. If you&apos;re opening a multi-disk archive, make sure you have inserted the last disk. Retry?</source>
        <translation>Das zentrale Verzeichnis wurde nicht gefunden. Wenn Sie ein mehrteiliges Archiv öffnen, legen Sie bitte den letzten Datenträger ein. Erneut versuchen?</translation>
    </message>
    <message>
        <source>Open failed</source>
        <translation>Öffnen fehlgeschlagen</translation>
    </message>
    <message>
        <source>Extract failed</source>
        <translation>Entpacken fehlgeschlagen</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>UsableSkin</name>
    <message>
        <source>it has no %1</source>
        <translation>es enthält keine %1</translation>
    </message>
    <message>
        <source>its %1 cannot be read (not a file)</source>
        <translation>seine %1 kann nicht gelesen werden (keine Datei)</translation>
    </message>
    <message>
        <source>its %1 cannot be read (%2)</source>
        <translation>seine %1 kann nicht gelesen werden (%2)</translation>
    </message>
    <message>
        <source>its %1 names no background picture (%2= in [%3])</source>
        <translation>seine %1 nennt kein Hintergrundbild (%2= in [%3])</translation>
    </message>
    <message>
        <source>its background picture %1 cannot be used (%2)</source>
        <translation>sein Hintergrundbild %1 kann nicht verwendet werden (%2)</translation>
    </message>
    <message>
        <source>its background picture %1 has no pixels</source>
        <translation>sein Hintergrundbild %1 hat keine Pixel</translation>
    </message>
    <message>
        <source>its background picture %1 is larger than the screen allows (%2x%3 pixels)</source>
        <translation>sein Hintergrundbild %1 ist größer, als der Bildschirm erlaubt (%2x%3 Pixel)</translation>
    </message>
    <message>
        <source>it holds no file that can be read (encrypted entries are left out)</source>
        <translation>es enthält keine lesbare Datei (verschlüsselte Einträge werden ausgelassen)</translation>
    </message>
</context>
</TS>
