<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>quon</name>
    <message>
        <source>%1  ·  %2</source>
        <translation>%1  ·  %2</translation>
    </message>
    <message>
        <source>Cool white, indigo</source>
        <translation>Chłodna biel, indygo</translation>
    </message>
    <message>
        <source>Could Not Open File</source>
        <translation>Nie można otworzyć pliku</translation>
    </message>
    <message>
        <source>Could Not Reload File</source>
        <translation>Nie można wczytać pliku ponownie</translation>
    </message>
    <message>
        <source>Could Not Save File</source>
        <translation>Nie można zapisać pliku</translation>
    </message>
    <message>
        <source>Cream, ink, warm orange</source>
        <translation>Krem, atrament, ciepły pomarańcz</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Ciemny</translation>
    </message>
    <message>
        <source>Depth</source>
        <translation>Głębia</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edycja</translation>
    </message>
    <message>
        <source>Ember</source>
        <translation>Żar</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Plik</translation>
    </message>
    <message>
        <source>File Changed on Disk</source>
        <translation>Plik zmienił się na dysku</translation>
    </message>
    <message>
        <source>Graphite, violet</source>
        <translation>Grafit, fiolet</translation>
    </message>
    <message>
        <source>Keep My Version</source>
        <translation>Zachowaj moją wersję</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Jasny</translation>
    </message>
    <message>
        <source>Monospace</source>
        <translation>Stałej szerokości</translation>
    </message>
    <message>
        <source>Night navy, teal</source>
        <translation>Nocny granat, morski</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Porcelain</source>
        <translation>Porcelana</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Podgląd</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>Wczytaj ponownie</translation>
    </message>
    <message>
        <source>Rounded</source>
        <translation>Zaokrąglona</translation>
    </message>
    <message>
        <source>Sage</source>
        <translation>Szałwia</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Zapisz</translation>
    </message>
    <message>
        <source>Serif</source>
        <translation>Szeryfowa</translation>
    </message>
    <message>
        <source>Sleek Pro</source>
        <translation>Sleek Pro</translation>
    </message>
    <message>
        <source>Soft green paper</source>
        <translation>Miękki zielony papier</translation>
    </message>
    <message>
        <source>Split</source>
        <translation>Podział</translation>
    </message>
    <message>
        <source>System</source>
        <translation>Systemowy</translation>
    </message>
    <message>
        <source>System</source>
        <comment>font.choice.system</comment>
        <translation>Systemowa</translation>
    </message>
    <message>
        <source>This file was modified by another application. Reload to see the latest version, or keep editing your current version.</source>
        <translation>Ten plik został zmieniony przez inną aplikację. Wczytaj go ponownie, aby zobaczyć najnowszą wersję, albo edytuj dalej swoją bieżącą wersję.</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Bez tytułu</translation>
    </message>
    <message>
        <source>Warm Editorial</source>
        <translation>Ciepły redakcyjny</translation>
    </message>
    <message>
        <source>Warm black, amber</source>
        <translation>Ciepła czerń, bursztyn</translation>
    </message>
    <message>
        <source>character</source>
        <translation>znak</translation>
    </message>
    <message>
        <source>characters</source>
        <translation>znaków</translation>
    </message>
    <message>
        <source>word</source>
        <translation>słowo</translation>
    </message>
    <message>
        <source>words</source>
        <translation>słów</translation>
    </message>
    <message>
        <source>“%1” can’t be opened because its text isn’t valid UTF-8.</source>
        <translation>Nie można otworzyć „%1”, ponieważ jego tekst nie jest poprawnym UTF-8.</translation>
    </message>
    <message>
        <source>“%1” couldn’t be read.</source>
        <translation>Nie można odczytać „%1”.</translation>
    </message>
    <message>
        <source>“%1” couldn’t be saved because its text can’t be written as UTF-8.</source>
        <translation>Nie można zapisać „%1”, ponieważ jego tekstu nie da się zapisać jako UTF-8.</translation>
    </message>
    <message>
        <source>“%1” couldn’t be saved.</source>
        <translation>Nie można zapisać „%1”.</translation>
    </message>
    <message>
        <source>“%1” is not a regular file and can’t be opened as a document.</source>
        <translation>„%1” nie jest zwykłym plikiem i nie można go otworzyć jako dokumentu.</translation>
    </message>
</context>
</TS>
