<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>NotifierPage</name>
    <message>
        <source>Welcome to SkinRecorder</source>
        <translation>Willkommen bei SkinRecorder</translation>
    </message>
    <message>
        <source>records into an MPEG file</source>
        <translation>nimmt in eine MPEG-Datei auf</translation>
    </message>
    <message>
        <source>previews without a file</source>
        <translation>Vorschau ohne Datei</translation>
    </message>
    <message>
        <source>holds, without a gap</source>
        <translation>hält an, ohne Lücke</translation>
    </message>
    <message>
        <source>ends and closes the file</source>
        <translation>beendet und schließt die Datei</translation>
    </message>
    <message>
        <source>Right-click the window for another skin. Click this note to put it away.</source>
        <translation>Rechtsklick auf das Fenster wählt ein anderes Skin. Ein Klick auf diesen Hinweis blendet ihn aus.</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Aufnehmen</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
</context>
</TS>
