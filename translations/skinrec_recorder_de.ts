<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CCompressorPage</name>
    <message>
        <source>default (%1)</source>
        <translation>Standard (%1)</translation>
    </message>
</context>
<context>
    <name>CEncorda</name>
    <message>
        <source>Nothing was recorded. Start again and choose a screen or window in the desktop&apos;s dialog to record it.</source>
        <translation>Es wurde nichts aufgenommen. Starten Sie erneut und wählen Sie im Dialog der Arbeitsumgebung den Bildschirm oder das Fenster, das Sie aufnehmen möchten.</translation>
    </message>
    <message>
        <source>the desktop&apos;s screen sharing dialog was cancelled</source>
        <translation>der Dialog der Arbeitsumgebung zur Bildschirmfreigabe wurde abgebrochen</translation>
    </message>
    <message>
        <source>Screen sharing failure, the desktop did not share its screen</source>
        <translation>Fehler bei der Bildschirmfreigabe, die Arbeitsumgebung hat den Bildschirm nicht freigegeben</translation>
    </message>
    <message>
        <source>The desktop&apos;s screen sharing portal did not answer as it should: %1.</source>
        <translation>Das Portal der Arbeitsumgebung zur Bildschirmfreigabe hat nicht wie erwartet geantwortet: %1.</translation>
    </message>
    <message>
        <source>Capture Failure, Video/Audio compressor not correct or capture file opening</source>
        <translation>Aufnahmefehler, Video-/Audiokompressor ungeeignet oder Aufnahmedatei lässt sich nicht öffnen</translation>
    </message>
    <message>
        <source>Screen sharing was not allowed</source>
        <translation>Die Bildschirmfreigabe wurde nicht erlaubt</translation>
    </message>
</context>
<context>
    <name>CEngineWords</name>
    <message>
        <source>bit/s</source>
        <translation>bit/s</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>channels</source>
        <translation>Kanäle</translation>
    </message>
    <message>
        <source>pixels</source>
        <translation>Pixel</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>frames/s</source>
        <translation>Bilder/s</translation>
    </message>
    <message>
        <source>Meets %1 (record as %2).</source>
        <translation>%1-konform (als %2 aufnehmen).</translation>
    </message>
    <message>
        <source>%1 frames/s, needs 25 or 29.97</source>
        <translation>%1 Bilder/s, erfordert 25 oder 29.97</translation>
    </message>
    <message>
        <source>picture %1, needs %2</source>
        <translation>Bildgröße %1, erfordert %2</translation>
    </message>
    <message>
        <source>%1 picture, needs %2</source>
        <translation>Seitenverhältnis %1, erfordert %2</translation>
    </message>
    <message>
        <source>video and audio %1 bit/s together, needs at most %2</source>
        <translation>Video und Audio zusammen %1 bit/s, erfordert höchstens %2</translation>
    </message>
    <message>
        <source>video %1 bit/s, %2</source>
        <translation>Video %1 bit/s, %2</translation>
    </message>
    <message>
        <source>audio %1 bit/s, %2</source>
        <translation>Audio %1 bit/s, %2</translation>
    </message>
    <message>
        <source>%1 kHz audio, needs %2 kHz</source>
        <translation>Audio mit %1 kHz, erfordert %2 kHz</translation>
    </message>
    <message>
        <source>1 audio channel, needs %1</source>
        <translation>1 Audiokanal, erfordert %1</translation>
    </message>
    <message>
        <source>%1 audio channels, needs %2</source>
        <translation>%1 Audiokanäle, erfordert %2</translation>
    </message>
    <message>
        <source>needs at most %1</source>
        <translation>erfordert höchstens %1</translation>
    </message>
    <message>
        <source>needs %1 to %2</source>
        <translation>erfordert %1 bis %2</translation>
    </message>
    <message>
        <source>needs %1</source>
        <translation>erfordert %1</translation>
    </message>
    <message>
        <source>%1 or %2</source>
        <translation>%1 oder %2</translation>
    </message>
    <message>
        <source>Not %1: %2.</source>
        <comment>a disc standard and why the values miss it</comment>
        <translation>Nicht %1-konform: %2.</translation>
    </message>
    <message>
        <source>an AVI file, needs an MPEG program stream</source>
        <translation>eine AVI-Datei, erfordert einen MPEG-Programmstrom</translation>
    </message>
    <message>
        <source>%1 video, needs %2</source>
        <translation>%1-Video, erfordert %2</translation>
    </message>
</context>
<context>
    <name>CFailureText</name>
    <message>
        <source>%1 is a file, not a folder. Choose a folder for the recording.</source>
        <translation>%1 ist eine Datei, kein Ordner. Wählen Sie einen Ordner für die Aufnahme.</translation>
    </message>
    <message>
        <source>The file %1 could not be created. Choose another folder, one you may write to, such as your Videos folder.</source>
        <translation>Die Datei %1 konnte nicht angelegt werden. Wählen Sie einen anderen Ordner, in den Sie schreiben dürfen, etwa Ihren Ordner „Videos“.</translation>
    </message>
    <message>
        <source>Choose other compressors in the AVI profile, or change their settings.</source>
        <translation>Wählen Sie im AVI-Profil andere Kompressoren oder ändern Sie deren Einstellungen.</translation>
    </message>
    <message>
        <source>Lower the bit rate, or check the sample rate and channels, in the MPEG profile.</source>
        <translation>Verringern Sie im MPEG-Profil die Bitrate oder prüfen Sie dort Abtastrate und Kanäle.</translation>
    </message>
    <message>
        <source>The encoder refused the settings: %1. %2</source>
        <translation>Der Encoder hat die Einstellungen abgelehnt: %1. %2</translation>
    </message>
    <message>
        <source>Recording Failure, the folder for the recording does not exist</source>
        <translation>Aufnahmefehler, der Ordner für die Aufnahme existiert nicht</translation>
    </message>
    <message>
        <source>Recording Failure, the disk is full</source>
        <translation>Aufnahmefehler, der Datenträger ist voll</translation>
    </message>
    <message>
        <source>Recording Failure, the file could not be written</source>
        <translation>Aufnahmefehler, die Datei konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Recording Failure, the file was deleted while it was being recorded</source>
        <translation>Aufnahmefehler, die Datei wurde während der Aufnahme gelöscht</translation>
    </message>
    <message>
        <source>Capture Failure, the video or audio source could not be opened</source>
        <translation>Aufnahmefehler, die Video- oder Audioquelle konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Capture Failure, the video or audio source stopped</source>
        <translation>Aufnahmefehler, die Video- oder Audioquelle liefert nichts mehr</translation>
    </message>
    <message>
        <source>Recording Failure, out of memory</source>
        <translation>Aufnahmefehler, nicht genügend Arbeitsspeicher</translation>
    </message>
    <message>
        <source>Recording Failure, the recording could not go on</source>
        <translation>Aufnahmefehler, die Aufnahme konnte nicht fortgesetzt werden</translation>
    </message>
    <message>
        <source>Capture Failure, the settings cannot be recorded</source>
        <translation>Aufnahmefehler, mit diesen Einstellungen ist keine Aufnahme möglich</translation>
    </message>
    <message>
        <source>The folder %1 does not exist. Choose an existing folder for the recording.</source>
        <translation>Der Ordner %1 existiert nicht. Wählen Sie einen vorhandenen Ordner für die Aufnahme.</translation>
    </message>
    <message>
        <source>The disk holding %1 is full. Free some space, or record to another disk.</source>
        <translation>Der Datenträger mit %1 ist voll. Geben Sie Speicherplatz frei oder nehmen Sie auf einen anderen Datenträger auf.</translation>
    </message>
    <message>
        <source>Writing %1 failed: %2.</source>
        <translation>Schreiben von %1 fehlgeschlagen: %2.</translation>
    </message>
    <message>
        <source>The file %1 was deleted, or its folder was, while it was being recorded: what was recorded is lost.</source>
        <translation>Die Datei %1 oder ihr Ordner wurde während der Aufnahme gelöscht: Das bisher Aufgenommene ist verloren.</translation>
    </message>
    <message>
        <source>No file name was given. Choose a file for the recording.</source>
        <translation>Es wurde kein Dateiname angegeben. Wählen Sie eine Datei für die Aufnahme.</translation>
    </message>
    <message>
        <source>This file is being recorded now. Choose another file for the new recording.</source>
        <translation>In diese Datei wird gerade aufgenommen. Wählen Sie für die neue Aufnahme eine andere Datei.</translation>
    </message>
    <message>
        <source>The picture size is not one that can be recorded (%1). Set a width and height above zero in the MPEG profile, or in the AVI profile&apos;s frame size.</source>
        <translation>Diese Bildgröße lässt sich nicht aufnehmen (%1). Stellen Sie im MPEG-Profil oder bei der eigenen Bildgröße des AVI-Profils eine Breite und Höhe über null ein.</translation>
    </message>
    <message>
        <source>The frame rate cannot be recorded (%1). Choose another in the MPEG profile.</source>
        <translation>Diese Bildrate lässt sich nicht aufnehmen (%1). Wählen Sie im MPEG-Profil eine andere.</translation>
    </message>
    <message>
        <source>The video or audio source could not be opened (%1). Check that it is plugged in and not used by another program, or choose another in the device dialogs.</source>
        <translation>Die Video- oder Audioquelle konnte nicht geöffnet werden (%1). Prüfen Sie, ob sie angeschlossen ist und kein anderes Programm sie belegt, oder wählen Sie in den Gerätedialogen eine andere.</translation>
    </message>
    <message>
        <source>The source stopped delivering (%1): it may have been unplugged or taken by another program. Check it, or choose another in the device dialogs.</source>
        <translation>Die Quelle liefert nichts mehr (%1): Vielleicht wurde sie getrennt oder von einem anderen Programm übernommen. Prüfen Sie sie oder wählen Sie in den Gerätedialogen eine andere.</translation>
    </message>
    <message>
        <source>Video and audio capture are both off in the AVI profile, so there is nothing to record. Switch one of them on.</source>
        <translation>Im AVI-Profil sind Video- und Audioaufnahme beide ausgeschaltet, es gibt also nichts aufzunehmen. Schalten Sie eine davon ein.</translation>
    </message>
    <message>
        <source>The computer ran out of memory. Close other programs, or record a smaller picture.</source>
        <translation>Der Arbeitsspeicher des Computers ist erschöpft. Schließen Sie andere Programme oder nehmen Sie ein kleineres Bild auf.</translation>
    </message>
</context>
<context>
    <name>COverlayText</name>
    <message>
        <source>%1 KB</source>
        <translation>%L1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%L1 MB</translation>
    </message>
    <message>
        <source>PAUSE</source>
        <translation>PAUSE</translation>
    </message>
    <message>
        <source>REC</source>
        <translation>REC</translation>
    </message>
    <message>
        <source>%1 %2  %3  dropped %4</source>
        <comment>state, elapsed time, file size, frames dropped</comment>
        <translation>%1 %2  %3  verworfen %4</translation>
    </message>
</context>
</TS>
