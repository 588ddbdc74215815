<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>FramePictureNames</name>
    <message>
        <source>No frame</source>
        <translation>Kein Rahmen</translation>
    </message>
</context>
</TS>
