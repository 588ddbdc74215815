<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CSkinDialog</name>
    <message>
        <source>The skin package %1 cannot be used: %2.</source>
        <translation>Das Skin-Paket %1 kann nicht verwendet werden: %2.</translation>
    </message>
    <message>
        <source>Extract failed</source>
        <translation>Entpacken fehlgeschlagen</translation>
    </message>
</context>
</TS>
