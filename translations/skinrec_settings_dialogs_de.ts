<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CAudioDeviceDlg</name>
    <message>
        <source>Audio Device</source>
        <translation>Audiogerät</translation>
    </message>
    <message>
        <source>Audio Input</source>
        <translation>Audioeingang</translation>
    </message>
</context>
<context>
    <name>CAviProfileDlg</name>
    <message>
        <source>AVI Profile</source>
        <translation>AVI-Profil</translation>
    </message>
    <message>
        <source>Use Video Compressor</source>
        <translation>Videokompressor verwenden</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Use Audio Compressor</source>
        <translation>Audiokompressor verwenden</translation>
    </message>
    <message>
        <source>Use Custom Video Frame</source>
        <translation>Eigene Bildgröße verwenden</translation>
    </message>
    <message>
        <source>Use Audio Compressor when Capture</source>
        <translation>Audiokompressor bei der Aufnahme verwenden</translation>
    </message>
    <message>
        <source>Use Video Compressor when Capture</source>
        <translation>Videokompressor bei der Aufnahme verwenden</translation>
    </message>
    <message>
        <source>Show Preview when Capture</source>
        <translation>Vorschau während der Aufnahme zeigen</translation>
    </message>
    <message>
        <source>Audio Capture</source>
        <translation>Audio aufnehmen</translation>
    </message>
    <message>
        <source>Video Capture</source>
        <translation>Video aufnehmen</translation>
    </message>
    <message>
        <source>Mute TV</source>
        <translation>TV stummschalten</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>No property page</source>
        <translation>Dieser Kompressor hat keine Einstellungsseite</translation>
    </message>
    <message>
        <source>AVI files only (MPEG files keep the MPEG profile&apos;s size). The whole picture is scaled into the frame, keeping its shape.</source>
        <translation>Nur für AVI-Dateien (MPEG-Dateien behalten die Bildgröße des MPEG-Profils). Das ganze Bild wird in diese Größe eingepasst, sein Seitenverhältnis bleibt erhalten.</translation>
    </message>
</context>
<context>
    <name>CMpegProfileDlg</name>
    <message>
        <source>Mpeg Profile</source>
        <translation>MPEG-Profil</translation>
    </message>
    <message>
        <source>Scale to 16:9</source>
        <translation>Auf 16:9 skalieren</translation>
    </message>
    <message>
        <source>MPEG Frame</source>
        <translation>Bildrate</translation>
    </message>
    <message>
        <source>Audio Sample Rate</source>
        <translation>Abtastrate</translation>
    </message>
    <message>
        <source>Video Bitrate</source>
        <translation>Video-Bitrate</translation>
    </message>
    <message>
        <source>Audio Bitrate</source>
        <translation>Audio-Bitrate</translation>
    </message>
    <message>
        <source>Audio Channel</source>
        <translation>Audiokanäle</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Höhe</translation>
    </message>
</context>
<context>
    <name>CSettingsDialog</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>%1 to %2 %3</source>
        <comment>a field&apos;s range and unit</comment>
        <translation>%1 bis %2 %3</translation>
    </message>
</context>
<context>
    <name>CSyncModeDlg</name>
    <message>
        <source>Sync Mode</source>
        <translation>Synchronisierung</translation>
    </message>
    <message>
        <source>Audio Offset</source>
        <translation>Audioversatz</translation>
    </message>
    <message>
        <source>No Sync</source>
        <translation>Keine Synchronisierung</translation>
    </message>
    <message>
        <source>Sync with stream offset (Auto Mode)</source>
        <translation>Nach Stromversatz synchronisieren (automatisch)</translation>
    </message>
    <message>
        <source>Sync with stream offset (Manual Mode)</source>
        <translation>Nach Stromversatz synchronisieren (manuell)</translation>
    </message>
</context>
<context>
    <name>CVideoDeviceDlg</name>
    <message>
        <source>Video Device</source>
        <translation>Videogerät</translation>
    </message>
    <message>
        <source>Video Format</source>
        <translation>Videoformat</translation>
    </message>
    <message>
        <source>Video Input</source>
        <translation>Videoeingang</translation>
    </message>
</context>
<context>
    <name>CVideoFrameDlg</name>
    <message>
        <source>Video Frame</source>
        <translation>Videorahmen</translation>
    </message>
</context>
</TS>
