<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AccessibleControls</name>
    <message>
        <source>SkinRecorder notice</source>
        <translation>SkinRecorder-Hinweis</translation>
    </message>
    <message>
        <source>Notice page</source>
        <translation>Hinweisseite</translation>
    </message>
    <message>
        <source>Record</source>
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
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Video device…</source>
        <translation>Videogerät…</translation>
    </message>
    <message>
        <source>Audio device…</source>
        <translation>Audiogerät…</translation>
    </message>
    <message>
        <source>Audio sync mode…</source>
        <translation>Audio-Synchronisation…</translation>
    </message>
    <message>
        <source>MPEG profile…</source>
        <translation>MPEG-Profil…</translation>
    </message>
    <message>
        <source>AVI profile…</source>
        <translation>AVI-Profil…</translation>
    </message>
    <message>
        <source>Frame picture…</source>
        <translation>Rahmenbild…</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Stumm</translation>
    </message>
    <message>
        <source>Good quality</source>
        <translation>Gute Qualität</translation>
    </message>
    <message>
        <source>Best quality</source>
        <translation>Beste Qualität</translation>
    </message>
    <message>
        <source>Sound level</source>
        <translation>Tonpegel</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Recordings</source>
        <translation>Aufnahmen</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Output format</source>
        <translation>Ausgabeformat</translation>
    </message>
    <message>
        <source>Open the list</source>
        <translation>Liste öffnen</translation>
    </message>
    <message>
        <source>Output formats</source>
        <translation>Ausgabeformate</translation>
    </message>
    <message>
        <source>Close the notice</source>
        <translation>Hinweis schließen</translation>
    </message>
</context>
<context>
    <name>CConverterDlg</name>
    <message>
        <source>&apos;Recording&apos; yyyy-MM-dd hh-mm-ss</source>
        <extracomment>A file name: the quoted word is kept, the rest is the date and time.</extracomment>
        <translation>&apos;Aufnahme&apos; yyyy-MM-dd hh-mm-ss</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>avi file (*.avi)</source>
        <translation>AVI-Datei (*.avi)</translation>
    </message>
    <message>
        <source>mpeg file (*.mpg)</source>
        <translation>MPEG-Datei (*.mpg)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>It looked for %1 in these folders:
%2

Put a skin package such as %3 into one of them, or install the program again.</source>
        <translation>Gesucht wurde nach %1 in diesen Ordnern:
%2

Legen Sie ein Skin-Paket wie %3 in einen davon oder installieren Sie das Programm erneut.</translation>
    </message>
    <message>
        <source>Up Button Pressed</source>
        <translation>Knopf „Nach oben“ gedrückt</translation>
    </message>
    <message>
        <source>Down Button Pressed</source>
        <translation>Knopf „Nach unten“ gedrückt</translation>
    </message>
    <message>
        <source>Record to file</source>
        <translation>In Datei aufnehmen</translation>
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
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Aufnehmen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>This skin has no %1 button; %2 does its work.</source>
        <translation>Dieses Skin hat keinen Knopf „%1“; %2 übernimmt seine Aufgabe.</translation>
    </message>
    <message>
        <source>This file is being recorded now. Choose another file for the new recording.</source>
        <translation>In diese Datei wird gerade aufgenommen. Wählen Sie für die neue Aufnahme eine andere Datei.</translation>
    </message>
    <message>
        <source>Stop the recording and quit?</source>
        <translation>Aufnahme stoppen und SkinRecorder beenden?</translation>
    </message>
    <message>
        <source>SkinRecorder found no skin package it can use.</source>
        <translation>SkinRecorder hat kein verwendbares Skin-Paket gefunden.</translation>
    </message>
    <message>
        <source>&amp;Timers…</source>
        <translation>&amp;Timer…</translation>
    </message>
    <message>
        <source>No program on this desktop could open the recording. Open it with a video player.</source>
        <translation>Kein Programm dieser Arbeitsumgebung konnte die Aufnahme öffnen. Öffnen Sie sie mit einem Videoplayer.</translation>
    </message>
</context>
<context>
    <name>CDesktopNotifications</name>
    <message>
        <source>Recording saved: %1 (%2, %3)</source>
        <translation>Aufnahme gespeichert: %1 (%2, %3)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
</context>
<context>
    <name>CRecentRecordings</name>
    <message>
        <source>missing</source>
        <translation>fehlt</translation>
    </message>
    <message>
        <source>Length %1, %2 (%3 bytes)</source>
        <translation>Dauer %1, %2 (%3 Bytes)</translation>
    </message>
    <message>
        <source>The file is no longer there.</source>
        <translation>Die Datei ist nicht mehr vorhanden.</translation>
    </message>
</context>
<context>
    <name>CRecorderTrayIcon</name>
    <message>
        <source>previewing</source>
        <translation>Vorschau läuft</translation>
    </message>
    <message>
        <source>recording</source>
        <translation>Aufnahme läuft</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>pausiert</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>gestoppt</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Aufnehmen</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausieren</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stoppen</translation>
    </message>
    <message>
        <source>Show Window</source>
        <translation>Fenster anzeigen</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Fortsetzen</translation>
    </message>
</context>
<context>
    <name>CRecordingAnnouncer</name>
    <message>
        <source>Paused</source>
        <translation>Pausiert</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Previewing</source>
        <translation>Vorschau</translation>
    </message>
</context>
<context>
    <name>CTimerEditDlg</name>
    <message>
        <source>New Timer</source>
        <translation>Neuer Timer</translation>
    </message>
    <message>
        <source>Change Timer</source>
        <translation>Timer ändern</translation>
    </message>
    <message>
        <source>&amp;Title</source>
        <translation>&amp;Titel</translation>
    </message>
    <message>
        <source>&amp;Once, on</source>
        <translation>&amp;Einmal, am</translation>
    </message>
    <message>
        <source>&amp;Every</source>
        <translation>&amp;Wöchentlich, am</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Beginn</translation>
    </message>
    <message>
        <source>&amp;Length (minutes)</source>
        <translation>&amp;nach Minuten</translation>
    </message>
    <message>
        <source>&amp;End at</source>
        <translation>&amp;um</translation>
    </message>
    <message>
        <source>Until</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>the Videos folder</source>
        <translation>Ordner „Videos“</translation>
    </message>
    <message>
        <source>&amp;Folder</source>
        <translation>&amp;Ordner</translation>
    </message>
    <message>
        <source>E&amp;nabled</source>
        <translation>A&amp;ktiv</translation>
    </message>
    <message>
        <source>&amp;Use the current settings</source>
        <translation>Aktuelle Einstellungen &amp;verwenden</translation>
    </message>
    <message>
        <source>Devices, output type, profiles, sync mode and frame picture as the settings dialogs and the Output selector have them now</source>
        <translation>Geräte, Ausgabeformat, Profile, Synchronisation und Rahmenbild so, wie die Einstellungsdialoge und die Formatauswahl sie jetzt zeigen</translation>
    </message>
    <message>
        <source>default video</source>
        <translation>Standard-Video</translation>
    </message>
    <message>
        <source>default audio</source>
        <translation>Standard-Audio</translation>
    </message>
</context>
<context>
    <name>CTimerRunner</name>
    <message>
        <source> It was kept as %1.</source>
        <translation> Die Datei wurde als %1 aufbewahrt.</translation>
    </message>
    <message>
        <source>The saved timers could not be read, so the program starts without timers.%1</source>
        <translation>Die gespeicherten Timer konnten nicht gelesen werden, daher startet das Programm ohne Timer.%1</translation>
    </message>
    <message>
        <source>This timer is recording now; stop the recording first.</source>
        <translation>Dieser Timer nimmt gerade auf; stoppen Sie zuerst die Aufnahme.</translation>
    </message>
    <message>
        <source>Timer missed</source>
        <translation>Timer verpasst</translation>
    </message>
    <message>
        <source>&quot;%1&quot; (%2) was not recorded: the program was not running.</source>
        <translation>„%1“ (%2) wurde nicht aufgenommen: Das Programm lief nicht.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; (%2) was not recorded: another recording was running.</source>
        <translation>„%1“ (%2) wurde nicht aufgenommen: Eine andere Aufnahme lief.</translation>
    </message>
    <message>
        <source>Timer recording failed</source>
        <translation>Timer-Aufnahme fehlgeschlagen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be recorded: %2</source>
        <translation>„%1“ konnte nicht aufgenommen werden: %2</translation>
    </message>
    <message>
        <source>Timer recording finished</source>
        <translation>Timer-Aufnahme beendet</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was recorded into %2</source>
        <translation>„%1“ wurde in %2 aufgenommen</translation>
    </message>
</context>
<context>
    <name>CTimerSchedule</name>
    <message>
        <source>A timer needs a title: its recordings are named after it.</source>
        <translation>Ein Timer braucht einen Titel: Seine Aufnahmen werden danach benannt.</translation>
    </message>
    <message>
        <source>A timer needs a start: a day or weekdays, and a time.</source>
        <translation>Ein Timer braucht einen Beginn: einen Tag oder Wochentage und eine Uhrzeit.</translation>
    </message>
    <message>
        <source>A timer records for a moment up to a whole day.</source>
        <translation>Ein Timer nimmt mindestens einen Augenblick und höchstens einen ganzen Tag lang auf.</translation>
    </message>
    <message>
        <source>This timer&apos;s time has passed: choose a later day or time.</source>
        <translation>Die Zeit dieses Timers ist vorbei: Wählen Sie einen späteren Tag oder eine spätere Uhrzeit.</translation>
    </message>
    <message>
        <source>This timer overlaps the timer &quot;%1&quot;: the program records one thing at a time.</source>
        <translation>Dieser Timer überschneidet sich mit dem Timer „%1“: Das Programm kann nur eine Aufnahme zugleich machen.</translation>
    </message>
</context>
<context>
    <name>CTimerStore</name>
    <message>
        <source>it holds no list of timers</source>
        <translation>sie enthält keine Liste von Timern</translation>
    </message>
    <message>
        <source>it was written by another version of the program (version %1)</source>
        <translation>sie wurde von einer anderen Version des Programms geschrieben (Version %1)</translation>
    </message>
    <message>
        <source>a timer in it has no id</source>
        <translation>ein Timer darin hat keine Kennung</translation>
    </message>
    <message>
        <source>; it could not be renamed either, so timers are not saved until the program starts again</source>
        <translation>; sie konnte auch nicht umbenannt werden, daher werden Timer erst nach einem Neustart des Programms wieder gespeichert</translation>
    </message>
    <message>
        <source>The timers file %1 could not be read or kept aside; it is left as it is.</source>
        <translation>Die Timer-Datei %1 konnte weder gelesen noch beiseitegelegt werden; sie bleibt unverändert.</translation>
    </message>
    <message>
        <source>The folder %1 could not be made.</source>
        <translation>Der Ordner %1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The timers could not be written to %1: %2</source>
        <translation>Die Timer konnten nicht in %1 geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The save was abandoned before the timers file was replaced.</source>
        <translation>Das Speichern wurde abgebrochen, bevor die Timer-Datei ersetzt war.</translation>
    </message>
    <message>
        <source>The timers file %1 could not be replaced: %2</source>
        <translation>Die Timer-Datei %1 konnte nicht ersetzt werden: %2</translation>
    </message>
</context>
<context>
    <name>CTimersDlg</name>
    <message>
        <source>%1 h</source>
        <translation>%1 Std.</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 Min.</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 Sek.</translation>
    </message>
    <message>
        <source>%1, until %2</source>
        <translation>%1, bis %2</translation>
    </message>
    <message>
        <source>waiting</source>
        <translation>wartet</translation>
    </message>
    <message>
        <source>recording</source>
        <translation>nimmt auf</translation>
    </message>
    <message>
        <source>done</source>
        <translation>erledigt</translation>
    </message>
    <message>
        <source>missed</source>
        <translation>verpasst</translation>
    </message>
    <message>
        <source>missed (busy)</source>
        <translation>verpasst (andere Aufnahme)</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>fehlgeschlagen</translation>
    </message>
    <message>
        <source>disabled</source>
        <translation>deaktiviert</translation>
    </message>
    <message>
        <source>waiting (last: %1)</source>
        <translation>wartet (zuletzt: %1)</translation>
    </message>
    <message>
        <source>Timers</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Beginn</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>&amp;Add…</source>
        <translation>&amp;Hinzufügen…</translation>
    </message>
    <message>
        <source>&amp;Change…</source>
        <translation>Ä&amp;ndern…</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Disable</source>
        <translation>&amp;Deaktivieren</translation>
    </message>
    <message>
        <source>E&amp;xport as systemd timer</source>
        <translation>Als systemd-Timer e&amp;xportieren</translation>
    </message>
    <message>
        <source>&amp;Enable</source>
        <translation>&amp;Aktivieren</translation>
    </message>
    <message>
        <source>Choose the weekdays the timer records on, or a day for once.</source>
        <translation>Wählen Sie die Wochentage, an denen der Timer aufnimmt, oder einen einzelnen Tag.</translation>
    </message>
    <message>
        <source>Delete the timer &quot;%1&quot;?</source>
        <translation>Den Timer „%1“ löschen?</translation>
    </message>
    <message>
        <source>%1 already exists. Replace it?</source>
        <translation>%1 ist bereits vorhanden. Ersetzen?</translation>
    </message>
    <message>
        <source>The systemd timer could not be written.</source>
        <translation>Der systemd-Timer konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Written %1 and its service. To start it:

systemctl --user daemon-reload &amp;&amp; systemctl --user enable --now %2</source>
        <translation>%1 und der zugehörige Dienst wurden geschrieben. So wird der Timer gestartet:

systemctl --user daemon-reload &amp;&amp; systemctl --user enable --now %2</translation>
    </message>
</context>
<context>
    <name>ProgramCommandLine</name>
    <message>
        <source>Record into FILE (the name the window proposes when none is given); starts the program first when it does not run.</source>
        <translation>In FILE aufnehmen (ohne Angabe unter dem Namen, den das Fenster vorschlägt); startet zuerst das Programm, wenn es nicht läuft.</translation>
    </message>
    <message>
        <source>Preview without a file, or resume.</source>
        <translation>Vorschau ohne Datei starten oder fortsetzen.</translation>
    </message>
    <message>
        <source>Pause the recording or the preview.</source>
        <translation>Aufnahme oder Vorschau pausieren.</translation>
    </message>
    <message>
        <source>Resume after --pause.</source>
        <translation>Nach --pause fortsetzen.</translation>
    </message>
    <message>
        <source>Stop and close the file.</source>
        <translation>Stoppen und die Datei schließen.</translation>
    </message>
    <message>
        <source>Stop a recording, or else record as --record does: the command for a desktop shortcut.</source>
        <translation>Eine Aufnahme stoppen, sonst wie --record aufnehmen: der Befehl für ein Tastenkürzel der Arbeitsumgebung.</translation>
    </message>
    <message>
        <source>Bring the window to the front.</source>
        <translation>Das Fenster in den Vordergrund holen.</translation>
    </message>
    <message>
        <source>Print the state, the file and the time recorded; exit status 3 when the program does not run.</source>
        <translation>Zustand, Datei und aufgenommene Zeit ausgeben; Exit-Status 3, wenn das Programm nicht läuft.</translation>
    </message>
    <message>
        <source>Add the timer given after it, &quot;TITLE;YYYY-MM-DD HH:MM;MINUTES&quot; (or &quot;TITLE;Mon,Wed 20:15;until 21:45&quot;, &quot;daily 20:15&quot;), recording with the window&apos;s settings; prints its id. Starts the program first when it does not run.</source>
        <translation>Den dahinter angegebenen Timer hinzufügen, &quot;TITLE;YYYY-MM-DD HH:MM;MINUTES&quot; (oder &quot;TITLE;Mon,Wed 20:15;until 21:45&quot;, &quot;daily 20:15&quot;), der mit den Einstellungen des Fensters aufnimmt; gibt seine Kennung aus. Startet zuerst das Programm, wenn es nicht läuft.</translation>
    </message>
    <message>
        <source>Delete the timer whose id is given after it.</source>
        <translation>Den Timer mit der dahinter angegebenen Kennung löschen.</translation>
    </message>
    <message>
        <source>Print the timers, one a line: id, timer as --timer-add takes it, state.</source>
        <translation>Die Timer ausgeben, einen pro Zeile: Kennung, Timer wie bei --timer-add, Zustand.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Unerwartetes Argument &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>Records video and audio into MPEG or AVI files, in a window whose look comes from a skin package.
Qt&apos;s own options, such as -platform NAME, are taken as well.
The commands --record to --timers act on the program already running and exit: 0 when done, 1 with the reason on standard error. Without a command, a second start brings the running program&apos;s window to the front.</source>
        <translation>Nimmt Video und Audio in MPEG- oder AVI-Dateien auf, in einem Fenster, dessen Aussehen ein Skin-Paket bestimmt.
Qts eigene Optionen wie -platform NAME werden ebenfalls angenommen.
Die Befehle --record bis --timers wirken auf das bereits laufende Programm und beenden sich dann mit 0, wenn erledigt, sonst mit 1 und dem Grund in der Standardfehlerausgabe. Ohne Befehl holt ein zweiter Start das Fenster des laufenden Programms in den Vordergrund.</translation>
    </message>
    <message>
        <source>Print these options and exit.</source>
        <translation>Diese Optionen ausgeben und beenden.</translation>
    </message>
    <message>
        <source>Print the program&apos;s name and version and exit.</source>
        <translation>Name und Version des Programms ausgeben und beenden.</translation>
    </message>
    <message>
        <source>The file --record records into.</source>
        <translation>Die Datei, in die --record aufnimmt.</translation>
    </message>
    <message>
        <source>Print a trace of the skins and recordings on standard error, for a bug report.</source>
        <translation>Für einen Fehlerbericht ein Protokoll der Skins und Aufnahmen in der Standardfehlerausgabe ausgeben.</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos;.</source>
        <translation>Weitere Informationen mit &apos;%1 --help&apos;.</translation>
    </message>
    <message>
        <source>Give one command at a time.</source>
        <translation>Bitte nur einen Befehl auf einmal angeben.</translation>
    </message>
    <message>
        <source>Which timer? See --help.</source>
        <translation>Welcher Timer? Siehe --help.</translation>
    </message>
</context>
</TS>
