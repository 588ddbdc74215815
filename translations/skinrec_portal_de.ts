<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CScreenCastPortal</name>
    <message>
        <source>the desktop portal&apos;s answers cannot be received: %1</source>
        <translation>die Antworten des Desktop-Portals kommen nicht an: %1</translation>
    </message>
    <message>
        <source>the desktop portal refused %1: %2</source>
        <translation>das Desktop-Portal hat %1 abgelehnt: %2</translation>
    </message>
    <message>
        <source>the desktop portal quit before it answered %1</source>
        <translation>das Desktop-Portal wurde beendet, bevor es auf %1 antwortete</translation>
    </message>
    <message>
        <source>Screen sharing was not allowed</source>
        <translation>Die Bildschirmfreigabe wurde nicht erlaubt</translation>
    </message>
    <message>
        <source>the desktop ended the screen sharing request (%1)</source>
        <translation>die Arbeitsumgebung hat die Anfrage zur Bildschirmfreigabe beendet (%1)</translation>
    </message>
    <message>
        <source>the desktop portal answered %1 with the unknown response %2</source>
        <translation>das Desktop-Portal hat auf %1 mit der unbekannten Antwort %2 reagiert</translation>
    </message>
    <message>
        <source>there is no session bus to reach the desktop portal through</source>
        <translation>es gibt keinen Sitzungsbus, über den das Desktop-Portal erreichbar wäre</translation>
    </message>
    <message>
        <source>the desktop portal does not share screens or windows</source>
        <translation>das Desktop-Portal gibt weder Bildschirme noch Fenster frei</translation>
    </message>
    <message>
        <source>the desktop portal made no session</source>
        <translation>das Desktop-Portal hat keine Sitzung angelegt</translation>
    </message>
    <message>
        <source>the desktop shared no screen or window</source>
        <translation>die Arbeitsumgebung hat weder einen Bildschirm noch ein Fenster freigegeben</translation>
    </message>
    <message>
        <source>the desktop portal gave no PipeWire connection: %1</source>
        <translation>das Desktop-Portal hat keine PipeWire-Verbindung geliefert: %1</translation>
    </message>
    <message>
        <source>the PipeWire connection could not be kept: %1</source>
        <translation>die PipeWire-Verbindung konnte nicht gehalten werden: %1</translation>
    </message>
</context>
</TS>
