<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CMpegrec</name>
    <message>
        <source>%1 records at --frame-rate 25 (PAL) or 29.97 (NTSC), not %2</source>
        <translation>%1 nimmt mit --frame-rate 25 (PAL) oder 29.97 (NTSC) auf, nicht mit %2</translation>
    </message>
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
        <source>ppm</source>
        <translation>ppm</translation>
    </message>
    <message>
        <source>%1 to %2 %3</source>
        <translation>%1 bis %2 %3</translation>
    </message>
    <message>
        <source>needs a whole number from %1</source>
        <translation>erfordert eine ganze Zahl von %1</translation>
    </message>
    <message>
        <source>needs a rate such as 25 or 29.97</source>
        <translation>erfordert eine Bildrate wie 25 oder 29.97</translation>
    </message>
    <message>
        <source>is vcd, svcd or dvd</source>
        <translation>ist vcd, svcd oder dvd</translation>
    </message>
    <message>
        <source>is mpeg1, mpeg2 or avi</source>
        <translation>ist mpeg1, mpeg2 oder avi</translation>
    </message>
    <message>
        <source>needs WIDTHxHEIGHT, each %1</source>
        <translation>erfordert BREITExHÖHE, jeweils %1</translation>
    </message>
    <message>
        <source>is 4:3 or 16:9</source>
        <translation>ist 4:3 oder 16:9</translation>
    </message>
    <message>
        <source>is 0 (no sync), 1 (auto) or 2 (manual)</source>
        <translation>ist 0 (keine Synchronisierung), 1 (automatisch) oder 2 (manuell)</translation>
    </message>
    <message>
        <source>needs a picture number (0 for none)</source>
        <translation>erfordert eine Bildnummer (0 für keines)</translation>
    </message>
    <message>
        <source>needs a positive number of seconds</source>
        <translation>erfordert eine positive Anzahl Sekunden</translation>
    </message>
    <message>
        <source>needs a local time as &quot;YYYY-MM-DD HH:MM&quot; or &quot;YYYY-MM-DD HH:MM:SS&quot;</source>
        <translation>erfordert eine Ortszeit als „JJJJ-MM-TT HH:MM“ oder „JJJJ-MM-TT HH:MM:SS“</translation>
    </message>
    <message>
        <source>the first camera or TV card, else Test Pattern</source>
        <translation>die erste Kamera oder TV-Karte, sonst Test Pattern</translation>
    </message>
    <message>
        <source>the sound server&apos;s default source, else the first sound card, else Test Tone</source>
        <translation>die Standardquelle des Soundservers, sonst die erste Soundkarte, sonst Test Tone</translation>
    </message>
    <message>
        <source>none: until interrupted</source>
        <translation>keine: bis zur Unterbrechung</translation>
    </message>
    <message>
        <source>now</source>
        <translation>sofort</translation>
    </message>
    <message>
        <source> each side</source>
        <translation> je Seite</translation>
    </message>
    <message>
        <source>, of those the audio encoder codes</source>
        <translation>, davon die, die der Audio-Encoder kodiert</translation>
    </message>
    <message>
        <source> (AVI; MPEG as above)</source>
        <translation> (AVI; MPEG wie oben)</translation>
    </message>
    <message>
        <source>an AVI file is recorded at %1</source>
        <translation>eine AVI-Datei wird mit %1 aufgenommen</translation>
    </message>
    <message>
        <source>an MPEG file is recorded at %1 frames/s</source>
        <translation>eine MPEG-Datei wird mit %1 Bildern/s aufgenommen</translation>
    </message>
    <message>
        <source> or </source>
        <translation> oder </translation>
    </message>
    <message>
        <source>the %1 compressor codes %2 Hz</source>
        <translation>der Kompressor %1 kodiert %2 Hz</translation>
    </message>
    <message>
        <source>MPEG audio is coded at %1 Hz</source>
        <translation>MPEG-Audio wird mit %1 Hz kodiert</translation>
    </message>
    <message>
        <source>the audio would begin only after the recording ends (%1), so the file would have none</source>
        <translation>der Ton begänne erst nach dem Ende der Aufnahme (%1), die Datei hätte also keinen</translation>
    </message>
    <message>
        <source>the video would begin only after the recording ends (%1), so the file would have none</source>
        <translation>das Bild begänne erst nach dem Ende der Aufnahme (%1), die Datei hätte also keines</translation>
    </message>
    <message>
        <source>-o names the file, --folder has it named: give one of them</source>
        <translation>-o nennt die Datei, --folder lässt sie benennen: geben Sie nur eines davon an</translation>
    </message>
    <message>
        <source>--stop-at and --duration both say when to stop: give one of them</source>
        <translation>--stop-at und --duration sagen beide, wann die Aufnahme endet: geben Sie nur eines davon an</translation>
    </message>
    <message>
        <source>%1 is not after %2</source>
        <translation>%1 liegt nicht nach %2</translation>
    </message>
    <message>
        <source>usage: mpegrec --list
       mpegrec -o FILE|--folder FOLDER [--title TITLE] [--start-at TIME]
               [--stop-at TIME|--duration SECONDS] [--type mpeg1|mpeg2|avi] [--target vcd|svcd|dvd] [--video-device NAME]
               [--audio-device NAME] [--frame-rate RATE] [--size WxH] [--aspect W:H]
               [--video-bitrate N] [--audio-bitrate N]
               [--sample-rate N] [--channels N] [--sync-mode 0|1|2] [--audio-offset MS]
               [--frame N] [--duration SECONDS] [--fast] [--sync-marks] [--clock-skew PPM]
               [--video-compressor NAME] [--audio-compressor NAME] [--no-audio|--no-video]
       mpegrec --help | --version
</source>
        <translation>Aufruf: mpegrec --list
        mpegrec -o DATEI|--folder ORDNER [--title TITEL] [--start-at ZEIT]
                [--stop-at ZEIT|--duration SEKUNDEN] [--type mpeg1|mpeg2|avi] [--target vcd|svcd|dvd] [--video-device NAME]
                [--audio-device NAME] [--frame-rate RATE] [--size BxH] [--aspect B:H]
                [--video-bitrate N] [--audio-bitrate N]
                [--sample-rate N] [--channels N] [--sync-mode 0|1|2] [--audio-offset MS]
                [--frame N] [--duration SEKUNDEN] [--fast] [--sync-marks] [--clock-skew PPM]
                [--video-compressor NAME] [--audio-compressor NAME] [--no-audio|--no-video]
        mpegrec --help | --version
</translation>
    </message>
    <message>
        <source>The compressors (an encoder name such as mpeg4 or pcm_s16le, see --list) and
--no-audio/--no-video apply to --type avi.
--aspect is the shape the picture is shown at (4:3 unless given; 16:9 for wide).
--sync-mode is 0 (no sync), 1 (auto) or 2 (manual: auto shifted by --audio-offset MS).
--frame N lays the Nth picture of the Frame folder (in name order) over the video;
0 lays none.
</source>
        <translation>Die Kompressoren (ein Encoder-Name wie mpeg4 oder pcm_s16le, siehe --list) und
--no-audio/--no-video gelten für --type avi.
--aspect ist das Seitenverhältnis, mit dem das Bild gezeigt wird (4:3, wenn nicht
angegeben; 16:9 für Breitbild).
--sync-mode ist 0 (keine Synchronisierung), 1 (automatisch) oder 2 (manuell: automatisch,
verschoben um --audio-offset MS).
--frame N legt das N-te Bild des Ordners „Frame“ (nach Namen sortiert) über das Video;
0 legt keines darüber.
</translation>
    </message>
    <message>
        <source>--sync-marks makes the Test Pattern flash white and the Test Tone beep (1 kHz, 50 ms) at
every whole second; --clock-skew makes the Test Tone&apos;s clock run fast (positive) or
slow (negative) by PPM parts per million, as a sound card&apos;s crystal may.
</source>
        <translation>--sync-marks lässt Test Pattern zu jeder vollen Sekunde weiß aufblitzen und Test Tone
piepen (1 kHz, 50 ms); --clock-skew lässt die Uhr von Test Tone um PPM Millionstel
vorgehen (positiv) oder nachgehen (negativ), wie es der Quarz einer Soundkarte tun kann.
</translation>
    </message>
    <message>
        <source>--frame-rate takes %1 (also as 30000:1001).
</source>
        <translation>--frame-rate nimmt %1 (auch als 30000:1001).
</translation>
    </message>
    <message>
        <source>--target sets everything the disc needs: MPEG-1 (VCD) or MPEG-2, picture size, bit
rates, audio; PAL at --frame-rate 25 (the default), NTSC (29.97) at 29.97 or 30.
Options beside it may change what the disc allows (a lower SVCD or DVD bit rate,
16:9 on SVCD and DVD, a DVD picture 704 or 352 wide); anything else is refused.
</source>
        <translation>--target stellt alles ein, was die Disc braucht: MPEG-1 (VCD) oder MPEG-2, Bildgröße,
Bitraten, Audio; PAL bei --frame-rate 25 (Standard), NTSC (29.97) bei 29.97 oder 30.
Weitere Optionen dürfen ändern, was die Disc erlaubt (eine niedrigere SVCD- oder
DVD-Bitrate, 16:9 bei SVCD und DVD, ein DVD-Bild mit 704 oder 352 Pixeln Breite);
alles andere wird abgelehnt.
</translation>
    </message>
    <message>
        <source>--folder records into &quot;TITLE YYYY-MM-DD hh-mm.mpg&quot; (.avi) there, named at the start,
never over another file: a name taken gets &quot; (2)&quot;, &quot; (3)&quot;...; --title (also the
file&apos;s title) is &quot;Recording&quot; unless given.
</source>
        <translation>--folder nimmt dort in „TITEL JJJJ-MM-TT hh-mm.mpg“ (.avi) auf, benannt beim Start,
nie über eine andere Datei: Ein vergebener Name erhält „ (2)“, „ (3)“ …; --title (auch
der Titel der Datei) ist „Recording“, wenn nicht angegeben.
</translation>
    </message>
    <message>
        <source>--start-at and --stop-at take a local time, &quot;YYYY-MM-DD HH:MM&quot; or with &quot;:SS&quot;; mpegrec
waits for the start, looking at the clock so that a suspend or a clock change does not
delay it. A start already past records what is left until --stop-at (or the start
plus --duration); an end already past records nothing and exits with status 2.
</source>
        <translation>--start-at und --stop-at nehmen eine Ortszeit, „JJJJ-MM-TT HH:MM“ oder mit „:SS“;
mpegrec wartet auf den Start und schaut dabei auf die Uhr, damit Bereitschaft oder eine
Uhrumstellung ihn nicht verzögern. Ist der Start schon vorbei, wird aufgenommen, was bis
--stop-at (oder Start plus --duration) bleibt; ist das Ende schon vorbei, wird nichts
aufgenommen und mpegrec endet mit Status 2.
</translation>
    </message>
    <message>
        <source>Bit rates in bit/s. Without --duration, recording runs until interrupted (Ctrl+C, or
SIGTERM or SIGHUP, as when its terminal closes).
</source>
        <translation>Bitraten in bit/s. Ohne --duration läuft die Aufnahme bis zur Unterbrechung (Strg+C,
oder SIGTERM oder SIGHUP, etwa wenn ihr Terminal geschlossen wird).
</translation>
    </message>
    <message>
        <source>Ranges, the same as the window&apos;s:
</source>
        <translation>Wertebereiche, dieselben wie im Fenster:
</translation>
    </message>
    <message>
        <source>Defaults, the same as the window&apos;s:
</source>
        <translation>Standardwerte, dieselben wie im Fenster:
</translation>
    </message>
    <message>
        <source>Exit status: 0 when done; 1 when the recording cannot start or fails; 2 for a mistake in
the command line (an unknown option, a value mpegrec cannot read or beyond its range, a
device, compressor or frame picture it does not have, a value the --target disc does
not allow, or an end that has passed).
</source>
        <translation>Exit-Status: 0 wenn erledigt; 1 wenn die Aufnahme nicht starten kann oder fehlschlägt;
2 bei einem Fehler in der Befehlszeile (eine unbekannte Option, ein Wert, den mpegrec
nicht lesen kann oder der außerhalb seines Bereichs liegt, ein Gerät, Kompressor oder
Rahmenbild, das es nicht gibt, ein Wert, den die --target-Disc nicht erlaubt, oder ein
Ende, das schon vorbei ist).
</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>unexpected argument %1</source>
        <translation>unerwartetes Argument %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 erfordert einen Wert</translation>
    </message>
    <message>
        <source>--target makes an MPEG file, not --type avi</source>
        <translation>--target erzeugt eine MPEG-Datei, nicht --type avi</translation>
    </message>
    <message>
        <source>--video-compressor, --audio-compressor, --no-video and --no-audio go with --type avi</source>
        <translation>--video-compressor, --audio-compressor, --no-video und --no-audio gehören zu --type avi</translation>
    </message>
    <message>
        <source>--no-video and --no-audio leave nothing to record</source>
        <translation>--no-video und --no-audio lassen nichts zum Aufnehmen übrig</translation>
    </message>
    <message>
        <source>nothing to do: give --list, -o FILE or --folder FOLDER</source>
        <translation>nichts zu tun: geben Sie --list, -o DATEI oder --folder ORDNER an</translation>
    </message>
    <message>
        <source>Try &apos;mpegrec --help&apos;.</source>
        <translation>„mpegrec --help“ liefert weitere Informationen.</translation>
    </message>
    <message>
        <source>23.976, 24, 25, 29.97, 30, 50, 59.94 or 60</source>
        <translation>23.976, 24, 25, 29.97, 30, 50, 59.94 oder 60</translation>
    </message>
    <message>
        <source>cannot start: %1</source>
        <translation>Start nicht möglich: %1</translation>
    </message>
    <message>
        <source>Video devices</source>
        <translation>Videogeräte</translation>
    </message>
    <message>
        <source>Video inputs of %1</source>
        <translation>Videoeingänge von %1</translation>
    </message>
    <message>
        <source>Video formats of %1</source>
        <translation>Videoformate von %1</translation>
    </message>
    <message>
        <source>Audio devices</source>
        <translation>Audiogeräte</translation>
    </message>
    <message>
        <source>Audio inputs of %1</source>
        <translation>Audioeingänge von %1</translation>
    </message>
    <message>
        <source>Video compressors</source>
        <translation>Videokompressoren</translation>
    </message>
    <message>
        <source>Audio compressors</source>
        <translation>Audiokompressoren</translation>
    </message>
    <message>
        <source>no video device named &quot;%1&quot; (see --list)</source>
        <translation>kein Videogerät namens „%1“ (siehe --list)</translation>
    </message>
    <message>
        <source>no audio device named &quot;%1&quot; (see --list)</source>
        <translation>kein Audiogerät namens „%1“ (siehe --list)</translation>
    </message>
    <message>
        <source>no compressor %1 among those that record AVI files (see --list)</source>
        <translation>kein Kompressor %1 unter denen, die AVI-Dateien aufnehmen (siehe --list)</translation>
    </message>
    <message>
        <source>%1 does not allow %2</source>
        <translation>%1 erlaubt nicht: %2</translation>
    </message>
    <message>
        <source>there is no Frame folder in the current folder or beside mpegrec (0 for none)</source>
        <translation>es gibt keinen Ordner „Frame“ im aktuellen Ordner oder neben mpegrec (0 für keines)</translation>
    </message>
    <message>
        <source>the Frame folder %1 has no pictures (0 for none)</source>
        <translation>der Ordner „Frame“ %1 enthält keine Bilder (0 für keines)</translation>
    </message>
    <message>
        <source>the Frame folder %1 has 1 picture (1, or 0 for none)</source>
        <translation>der Ordner „Frame“ %1 enthält 1 Bild (1, oder 0 für keines)</translation>
    </message>
    <message>
        <source>the Frame folder %1 has %2 pictures (1 to %2, or 0 for none)</source>
        <translation>der Ordner „Frame“ %1 enthält %2 Bilder (1 bis %2, oder 0 für keines)</translation>
    </message>
    <message>
        <source>the desktop did not share its screen: %1</source>
        <translation>die Arbeitsumgebung hat ihren Bildschirm nicht freigegeben: %1</translation>
    </message>
    <message>
        <source>--start-at %1 plus --duration</source>
        <translation>--start-at %1 plus --duration</translation>
    </message>
    <message>
        <source>the end of the recording (%1) has passed; nothing was recorded</source>
        <translation>das Ende der Aufnahme (%1) ist schon vorbei; es wurde nichts aufgenommen</translation>
    </message>
    <message>
        <source>interrupted before the start; nothing was recorded</source>
        <translation>vor dem Start unterbrochen; es wurde nichts aufgenommen</translation>
    </message>
    <message>
        <source>recording stopped: %1</source>
        <translation>Aufnahme abgebrochen: %1</translation>
    </message>
</context>
</TS>
