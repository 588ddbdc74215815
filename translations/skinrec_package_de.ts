<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
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
