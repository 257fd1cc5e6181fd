<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>quon</name>
    <message>
        <source>"%1" is not a Markdown file.</source>
        <translation>„%1” nie jest plikiem Markdown.</translation>
    </message>
    <message>
        <source>"%1" is not valid UTF-8 text.</source>
        <translation>„%1” nie jest poprawnym tekstem UTF-8.</translation>
    </message>
    <message>
        <source># heading</source>
        <translation># nagłówek</translation>
    </message>
    <message>
        <source>%1  ·  %2</source>
        <translation>%1  ·  %2</translation>
    </message>
    <message>
        <source>%1 copy</source>
        <translation>%1 — kopia</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 z %2</translation>
    </message>
    <message>
        <source>%1 pt</source>
        <translation>%1 pkt</translation>
    </message>
    <message>
        <source>%1.</source>
        <translation>%1.</translation>
    </message>
    <message numerus="yes">
        <source>%n bytes</source>
        <translation>
            <numerusform>%n bajt</numerusform>
            <numerusform>%n bajty</numerusform>
            <numerusform>%n bajtów</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n characters</source>
        <translation>
            <numerusform>%n znak</numerusform>
            <numerusform>%n znaki</numerusform>
            <numerusform>%n znaków</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n words</source>
        <translation>
            <numerusform>%n słowo</numerusform>
            <numerusform>%n słowa</numerusform>
            <numerusform>%n słów</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edycja</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Plik</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Pomo&amp;c</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Widok</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Okno</translation>
    </message>
    <message>
        <source>/hea</source>
        <translation>/nag</translation>
    </message>
    <message>
        <source>A save of “%1” didn’t finish.</source>
        <translation>Zapisywanie „%1” nie zostało ukończone.</translation>
    </message>
    <message>
        <source>About quon</source>
        <translation>O programie quon</translation>
    </message>
    <message>
        <source>After the first tour, this is off by default. Turn it on to see the tour again each time you open quon.</source>
        <translation>Po pierwszym obejrzeniu przewodnika ta opcja jest domyślnie wyłączona. Włącz ją, aby oglądać przewodnik przy każdym uruchomieniu quon.</translation>
    </message>
    <message>
        <source>All Files</source>
        <translation>Wszystkie pliki</translation>
    </message>
    <message>
        <source>Another application changed this file. Saving will replace its change with your version.</source>
        <translation>Inna aplikacja zmieniła ten plik. Zapisanie zastąpi jej zmianę Twoją wersją.</translation>
    </message>
    <message>
        <source>App Language</source>
        <translation>Język aplikacji</translation>
    </message>
    <message>
        <source>App language follows the Linux system language when set to System.</source>
        <translation>Gdy wybrano opcję „Systemowy”, aplikacja używa języka systemu Linux.</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Wygląd</translation>
    </message>
    <message>
        <source>Applies to preview headings and body text. Editor stays monospaced.</source>
        <translation>Dotyczy nagłówków i tekstu w podglądzie. Edytor zostaje przy czcionce o stałej szerokości.</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Wstecz</translation>
    </message>
    <message>
        <source>Beautiful Markdown for Linux</source>
        <translation>Piękny Markdown dla Linuksa</translation>
    </message>
    <message>
        <source>Beautiful Markdown for Linux. Write in Markdown, see it rendered instantly.</source>
        <translation>Piękny Markdown dla Linuksa. Pisz w Markdownie i od razu oglądaj wynik.</translation>
    </message>
    <message>
        <source>Behavior</source>
        <translation>Zachowanie</translation>
    </message>
    <message>
        <source>Blockquote</source>
        <translation>Cytat</translation>
    </message>
    <message>
        <source>Blocks</source>
        <translation>Bloki</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Pogrubienie</translation>
    </message>
    <message>
        <source>Built with cmark-gfm and highlight.js.</source>
        <translation>Zbudowano z użyciem cmark-gfm i highlight.js.</translation>
    </message>
    <message>
        <source>Bulleted List</source>
        <translation>Lista punktowana</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Anuluj</translation>
    </message>
    <message>
        <source>Changes apply to the Files menu immediately.</source>
        <translation>Zmiany od razu obowiązują w menu Plików.</translation>
    </message>
    <message>
        <source>Checklist with interactive boxes</source>
        <translation>Lista kontrolna z polami do zaznaczania</translation>
    </message>
    <message>
        <source>Choose a theme for each mode below. System follows Linux.</source>
        <translation>Poniżej wybierz motyw dla każdego trybu. Systemowy podąża za systemem Linux.</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Wyczyść</translation>
    </message>
    <message>
        <source>Clear &amp; Quit</source>
        <translation>Wyczyść i zakończ</translation>
    </message>
    <message>
        <source>Clear App Data?</source>
        <translation>Wyczyścić dane aplikacji?</translation>
    </message>
    <message>
        <source>Clear App Data…</source>
        <translation>Wyczyść dane aplikacji…</translation>
    </message>
    <message>
        <source>Clear Menu</source>
        <translation>Wyczyść menu</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Zamknij</translation>
    </message>
    <message>
        <source>Close Find Bar</source>
        <translation>Zamknij pasek wyszukiwania</translation>
    </message>
    <message>
        <source>Close find bar</source>
        <translation>Zamknij pasek wyszukiwania</translation>
    </message>
    <message>
        <source>Code</source>
        <translation>Kod</translation>
    </message>
    <message>
        <source>Code Block</source>
        <translation>Blok kodu</translation>
    </message>
    <message>
        <source>Color scheme</source>
        <translation>Schemat kolorów</translation>
    </message>
    <message>
        <source>Command Palette</source>
        <translation>Paleta poleceń</translation>
    </message>
    <message>
        <source>Command Palette…</source>
        <translation>Paleta poleceń…</translation>
    </message>
    <message>
        <source>Compact heading</source>
        <translation>Zwarty nagłówek</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Dalej</translation>
    </message>
    <message>
        <source>Convert to Markdown</source>
        <translation>Konwertuj na Markdown</translation>
    </message>
    <message>
        <source>Cool white, indigo</source>
        <translation>Chłodna biel, indygo</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>Skopiowano</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopiuj</translation>
    </message>
    <message>
        <source>Copy as HTML</source>
        <translation>Kopiuj jako HTML</translation>
    </message>
    <message>
        <source>Could Not Convert File</source>
        <translation>Nie można przekonwertować pliku</translation>
    </message>
    <message>
        <source>Could Not Create File</source>
        <translation>Nie można utworzyć pliku</translation>
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
        <source>Could Not Set Default App</source>
        <translation>Nie można ustawić domyślnej aplikacji</translation>
    </message>
    <message>
        <source>Could Not Show Folder</source>
        <translation>Nie można pokazać folderu</translation>
    </message>
    <message>
        <source>Cream, ink, warm orange</source>
        <translation>Krem, atrament, ciepły pomarańcz</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Utwórz</translation>
    </message>
    <message>
        <source>Create Markdown files from Files with the quon extension</source>
        <translation>Twórz pliki Markdown w Plikach dzięki rozszerzeniu quon</translation>
    </message>
    <message>
        <source>Crossed-out text</source>
        <translation>Przekreślony tekst</translation>
    </message>
    <message>
        <source>Ctrl+Shift+.</source>
        <translation>Ctrl+Shift+.</translation>
    </message>
    <message>
        <source>Ctrl+Shift+P</source>
        <translation>Ctrl+Shift+P</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Wytnij</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Ciemny</translation>
    </message>
    <message>
        <source>Dark theme</source>
        <translation>Ciemny motyw</translation>
    </message>
    <message>
        <source>Dark theme font</source>
        <translation>Czcionka ciemnego motywu</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Dane</translation>
    </message>
    <message>
        <source>Default View Mode</source>
        <translation>Domyślny tryb widoku</translation>
    </message>
    <message>
        <source>Depth</source>
        <translation>Głębia</translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation>Zamknij</translation>
    </message>
    <message>
        <source>Divider</source>
        <translation>Linia podziału</translation>
    </message>
    <message>
        <source>Do you want to save the changes made to the document “%1”?</source>
        <translation>Czy zapisać zmiany wprowadzone w dokumencie „%1”?</translation>
    </message>
    <message>
        <source>Document</source>
        <translation>Dokument</translation>
    </message>
    <message>
        <source>Don’t Save</source>
        <translation>Nie zapisuj</translation>
    </message>
    <message>
        <source>Double-clicking a .md file in Files will open it in quon.</source>
        <translation>Dwukrotne kliknięcie pliku .md w Plikach otworzy go w quon.</translation>
    </message>
    <message>
        <source>Drop Markdown files here</source>
        <translation>Upuść tutaj pliki Markdown</translation>
    </message>
    <message>
        <source>Duplicate</source>
        <translation>Duplikuj</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edycja</translation>
    </message>
    <message>
        <source>Edit, Split, or Preview — switch anytime from the toolbar or Ctrl+1, Ctrl+2, Ctrl+3.</source>
        <translation>Edycja, podział lub podgląd — przełączaj w każdej chwili z paska narzędzi albo skrótami Ctrl+1, Ctrl+2, Ctrl+3.</translation>
    </message>
    <message>
        <source>Editor</source>
        <translation>Edytor</translation>
    </message>
    <message>
        <source>Embedded image</source>
        <translation>Osadzony obraz</translation>
    </message>
    <message>
        <source>Ember</source>
        <translation>Żar</translation>
    </message>
    <message>
        <source>Emphasized text</source>
        <translation>Wyróżniony tekst</translation>
    </message>
    <message>
        <source>Enable Files Extension</source>
        <translation>Włącz rozszerzenie Plików</translation>
    </message>
    <message>
        <source>Enter Focus Mode</source>
        <translation>Włącz tryb skupienia</translation>
    </message>
    <message>
        <source>Enter a valid file name.</source>
        <translation>Wpisz poprawną nazwę pliku.</translation>
    </message>
    <message>
        <source>Exit Focus Mode</source>
        <translation>Wyłącz tryb skupienia</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Eksport</translation>
    </message>
    <message>
        <source>Export Failed</source>
        <translation>Eksport nie powiódł się</translation>
    </message>
    <message>
        <source>Export as HTML</source>
        <translation>Eksportuj jako HTML</translation>
    </message>
    <message>
        <source>Export as HTML…</source>
        <translation>Eksportuj jako HTML…</translation>
    </message>
    <message>
        <source>Export as PDF</source>
        <translation>Eksportuj jako PDF</translation>
    </message>
    <message>
        <source>Export as PDF…</source>
        <translation>Eksportuj jako PDF…</translation>
    </message>
    <message>
        <source>Export as Plain Text</source>
        <translation>Eksportuj jako zwykły tekst</translation>
    </message>
    <message>
        <source>Export as Plain Text…</source>
        <translation>Eksportuj jako zwykły tekst…</translation>
    </message>
    <message>
        <source>Extensions</source>
        <translation>Rozszerzenia</translation>
    </message>
    <message>
        <source>Fenced multi-line code</source>
        <translation>Wielowierszowy blok kodu</translation>
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
        <source>Files</source>
        <translation>Pliki</translation>
    </message>
    <message>
        <source>Files (Nautilus) is not installed on this computer.</source>
        <translation>Pliki (Nautilus) nie są zainstalowane na tym komputerze.</translation>
    </message>
    <message>
        <source>Files Extension</source>
        <translation>Rozszerzenie Plików</translation>
    </message>
    <message>
        <source>Files context menu</source>
        <translation>Menu kontekstowe Plików</translation>
    </message>
    <message>
        <source>Files extension is disabled</source>
        <translation>Rozszerzenie Plików jest wyłączone</translation>
    </message>
    <message>
        <source>Files extension is enabled</source>
        <translation>Rozszerzenie Plików jest włączone</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Znajdź</translation>
    </message>
    <message>
        <source>Find in Document</source>
        <translation>Znajdź w dokumencie</translation>
    </message>
    <message>
        <source>Find in Editor</source>
        <translation>Znajdź w edytorze</translation>
    </message>
    <message>
        <source>Find in document…</source>
        <translation>Znajdź w dokumencie…</translation>
    </message>
    <message>
        <source>Find…</source>
        <translation>Znajdź…</translation>
    </message>
    <message>
        <source>Focus Mode</source>
        <translation>Tryb skupienia</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Czcionka</translation>
    </message>
    <message>
        <source>Font Size</source>
        <translation>Rozmiar czcionki</translation>
    </message>
    <message>
        <source>Fonts</source>
        <translation>Czcionki</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Ogólne</translation>
    </message>
    <message>
        <source>Get Started</source>
        <translation>Zaczynamy</translation>
    </message>
    <message>
        <source>GitHub-style table</source>
        <translation>Tabela w stylu GitHub</translation>
    </message>
    <message>
        <source>Graphite, violet</source>
        <translation>Grafit, fiolet</translation>
    </message>
    <message>
        <source>Heading</source>
        <translation>Nagłówek</translation>
    </message>
    <message>
        <source>Heading %1</source>
        <translation>Nagłówek %1</translation>
    </message>
    <message>
        <source>Heading 1</source>
        <translation>Nagłówek 1</translation>
    </message>
    <message>
        <source>Heading 2</source>
        <translation>Nagłówek 2</translation>
    </message>
    <message>
        <source>Heading 3</source>
        <translation>Nagłówek 3</translation>
    </message>
    <message>
        <source>Heading 4</source>
        <translation>Nagłówek 4</translation>
    </message>
    <message>
        <source>Heading 5</source>
        <translation>Nagłówek 5</translation>
    </message>
    <message>
        <source>Heading 6</source>
        <translation>Nagłówek 6</translation>
    </message>
    <message>
        <source>Headings</source>
        <translation>Nagłówki</translation>
    </message>
    <message>
        <source>Headings, lists, quotes, code, tables, and more</source>
        <translation>Nagłówki, listy, cytaty, kod, tabele i nie tylko</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Strona główna</translation>
    </message>
    <message>
        <source>Horizontal thematic break</source>
        <translation>Pozioma linia podziału</translation>
    </message>
    <message>
        <source>Hyperlink to a URL</source>
        <translation>Hiperłącze do adresu URL</translation>
    </message>
    <message>
        <source>If the button doesn't do the trick: run the install command in a terminal, then restart Files.</source>
        <translation>Jeśli przycisk nie pomoże: uruchom polecenie instalacji w terminalu, a następnie uruchom ponownie Pliki.</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Obraz</translation>
    </message>
    <message>
        <source>Indented quotation block</source>
        <translation>Wcięty blok cytatu</translation>
    </message>
    <message>
        <source>Inline</source>
        <translation>W tekście</translation>
    </message>
    <message>
        <source>Inline Code</source>
        <translation>Kod w tekście</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Kursywa</translation>
    </message>
    <message>
        <source>Keep My Version</source>
        <translation>Zachowaj moją wersję</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Język</translation>
    </message>
    <message>
        <source>Large section heading</source>
        <translation>Duży nagłówek sekcji</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Jasny</translation>
    </message>
    <message>
        <source>Light theme</source>
        <translation>Jasny motyw</translation>
    </message>
    <message>
        <source>Light theme font</source>
        <translation>Czcionka jasnego motywu</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Link</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Lista</translation>
    </message>
    <message>
        <source>Lists</source>
        <translation>Listy</translation>
    </message>
    <message>
        <source>Making the PDF took too long and was stopped.</source>
        <translation>Tworzenie pliku PDF trwało zbyt długo i zostało przerwane.</translation>
    </message>
    <message>
        <source>Mark complete</source>
        <translation>Oznacz jako ukończone</translation>
    </message>
    <message>
        <source>Mark incomplete</source>
        <translation>Oznacz jako nieukończone</translation>
    </message>
    <message>
        <source>Markdown Documents</source>
        <translation>Dokumenty Markdown</translation>
    </message>
    <message>
        <source>Markdown opens in quon; other files open in their default app. The prompt remembers your last choice.</source>
        <translation>Markdown otwiera się w quon, inne pliki w swojej domyślnej aplikacji. Okno pytania pamięta Twój ostatni wybór.</translation>
    </message>
    <message>
        <source>Media</source>
        <translation>Multimedia</translation>
    </message>
    <message>
        <source>Medium section heading</source>
        <translation>Średni nagłówek sekcji</translation>
    </message>
    <message>
        <source>Menu items</source>
        <translation>Pozycje menu</translation>
    </message>
    <message>
        <source>Minor heading</source>
        <translation>Pomniejszy nagłówek</translation>
    </message>
    <message>
        <source>Missing: %1</source>
        <translation>Brak: %1</translation>
    </message>
    <message>
        <source>Monospace</source>
        <translation>Stałej szerokości</translation>
    </message>
    <message>
        <source>Monospaced inline snippet</source>
        <translation>Fragment o stałej szerokości w tekście</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nowy</translation>
    </message>
    <message>
        <source>New Document</source>
        <translation>Nowy dokument</translation>
    </message>
    <message>
        <source>New File</source>
        <translation>Nowy plik</translation>
    </message>
    <message>
        <source>New Markdown File</source>
        <translation>Nowy plik Markdown</translation>
    </message>
    <message>
        <source>New documents start empty</source>
        <translation>Nowe dokumenty są puste</translation>
    </message>
    <message>
        <source>Night navy, teal</source>
        <translation>Nocny granat, morski</translation>
    </message>
    <message>
        <source>No Markdown content types are available on this system.</source>
        <translation>W tym systemie nie ma dostępnych typów treści Markdown.</translation>
    </message>
    <message>
        <source>No file manager could show the folder “%1”.</source>
        <translation>Żaden menedżer plików nie mógł pokazać folderu „%1”.</translation>
    </message>
    <message>
        <source>No matching commands</source>
        <translation>Brak pasujących poleceń</translation>
    </message>
    <message>
        <source>No recent files yet</source>
        <translation>Brak ostatnich plików</translation>
    </message>
    <message>
        <source>No results</source>
        <translation>Brak wyników</translation>
    </message>
    <message>
        <source>Normal Text</source>
        <translation>Zwykły tekst</translation>
    </message>
    <message>
        <source>Numbered List</source>
        <translation>Lista numerowana</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Otwórz</translation>
    </message>
    <message>
        <source>Open Copy</source>
        <translation>Otwórz kopię</translation>
    </message>
    <message>
        <source>Open Recent</source>
        <translation>Otwórz ostatnie</translation>
    </message>
    <message>
        <source>Open file after creating</source>
        <translation>Otwórz plik po utworzeniu</translation>
    </message>
    <message>
        <source>Open files after creating by default</source>
        <translation>Domyślnie otwieraj pliki po utworzeniu</translation>
    </message>
    <message>
        <source>Opens the Welcome window when you close the last open document.</source>
        <translation>Otwiera okno powitalne po zamknięciu ostatniego otwartego dokumentu.</translation>
    </message>
    <message>
        <source>Open…</source>
        <translation>Otwórz…</translation>
    </message>
    <message>
        <source>Ordered list with numbers</source>
        <translation>Lista uporządkowana z numerami</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Wklej</translation>
    </message>
    <message>
        <source>Paste or type a URL…</source>
        <translation>Wklej lub wpisz adres URL…</translation>
    </message>
    <message>
        <source>Plain paragraph without heading</source>
        <translation>Zwykły akapit bez nagłówka</translation>
    </message>
    <message>
        <source>Porcelain</source>
        <translation>Porcelana</translation>
    </message>
    <message>
        <source>Press Ctrl+Shift+P to search actions, recent files, export, and settings.</source>
        <translation>Naciśnij Ctrl+Shift+P, aby wyszukać polecenia, ostatnie pliki, eksport i ustawienia.</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Podgląd</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Zakończ</translation>
    </message>
    <message>
        <source>Ready to write</source>
        <translation>Gotowe do pisania</translation>
    </message>
    <message>
        <source>Recent</source>
        <translation>Ostatnie</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Ponów</translation>
    </message>
    <message>
        <source>Refresh status</source>
        <translation>Odśwież stan</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>Wczytaj ponownie</translation>
    </message>
    <message>
        <source>Remove from recents</source>
        <translation>Usuń z ostatnich</translation>
    </message>
    <message>
        <source>Removes settings, recent files, and onboarding state. Your documents on disk are not affected.</source>
        <translation>Usuwa ustawienia, ostatnie pliki i stan wprowadzenia. Twoje dokumenty na dysku pozostają nietknięte.</translation>
    </message>
    <message>
        <source>Replay the welcome guided tour</source>
        <translation>Obejrzyj ponownie powitalny przewodnik</translation>
    </message>
    <message>
        <source>Restart Files</source>
        <translation>Uruchom ponownie Pliki</translation>
    </message>
    <message>
        <source>Reveal in Files</source>
        <translation>Pokaż w Plikach</translation>
    </message>
    <message>
        <source>Right-click a folder in Files to create a new file — any type, or Markdown — exactly where you are.</source>
        <translation>Kliknij folder prawym przyciskiem w Plikach, aby utworzyć nowy plik — dowolnego typu lub Markdown — dokładnie tam, gdzie jesteś.</translation>
    </message>
    <message>
        <source>Right-click any folder in Files to create a new file. If menu items are missing, restart Files.</source>
        <translation>Kliknij dowolny folder prawym przyciskiem w Plikach, aby utworzyć nowy plik. Jeśli brakuje pozycji menu, uruchom ponownie Pliki.</translation>
    </message>
    <message>
        <source>Rounded</source>
        <translation>Zaokrąglona</translation>
    </message>
    <message>
        <source>Run this command in a terminal to install the Files extension, then restart Files.</source>
        <translation>Uruchom to polecenie w terminalu, aby zainstalować rozszerzenie Plików, a następnie uruchom ponownie Pliki.</translation>
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
        <source>Save Anyway</source>
        <translation>Zapisz mimo to</translation>
    </message>
    <message>
        <source>Save As…</source>
        <translation>Zapisz jako…</translation>
    </message>
    <message>
        <source>Save Markdown Copy</source>
        <translation>Zapisz kopię Markdown</translation>
    </message>
    <message>
        <source>Save Markdown Copy…</source>
        <translation>Zapisz kopię Markdown…</translation>
    </message>
    <message>
        <source>Search in the current document</source>
        <translation>Szukaj w bieżącym dokumencie</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Zaznacz wszystko</translation>
    </message>
    <message>
        <source>Serif</source>
        <translation>Szeryfowa</translation>
    </message>
    <message>
        <source>Set as Default for Markdown Files</source>
        <translation>Ustaw jako domyślną dla plików Markdown</translation>
    </message>
    <message>
        <source>Set quon as your default .md app in Settings → Files</source>
        <translation>Ustaw quon jako domyślną aplikację dla plików .md w Ustawienia → Pliki</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Ustawienia</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Ustawienia…</translation>
    </message>
    <message>
        <source>Share &amp; Export</source>
        <translation>Udostępnij i eksportuj</translation>
    </message>
    <message>
        <source>Show "New File Here"</source>
        <translation>Pokazuj „Nowy plik tutaj”</translation>
    </message>
    <message>
        <source>Show "New Markdown File Here"</source>
        <translation>Pokazuj „Nowy plik Markdown tutaj”</translation>
    </message>
    <message>
        <source>Show Feature Tour</source>
        <translation>Pokaż przewodnik</translation>
    </message>
    <message>
        <source>Show Home after closing last document</source>
        <translation>Pokaż stronę główną po zamknięciu ostatniego dokumentu</translation>
    </message>
    <message>
        <source>Show Install Command…</source>
        <translation>Pokaż polecenie instalacji…</translation>
    </message>
    <message>
        <source>Show Welcome window</source>
        <translation>Pokaż okno powitalne</translation>
    </message>
    <message>
        <source>Show feature tour now</source>
        <translation>Pokaż przewodnik teraz</translation>
    </message>
    <message>
        <source>Show feature tour on launch</source>
        <translation>Pokazuj przewodnik przy uruchomieniu</translation>
    </message>
    <message>
        <source>Show less</source>
        <translation>Pokaż mniej</translation>
    </message>
    <message>
        <source>Show more</source>
        <translation>Pokaż więcej</translation>
    </message>
    <message>
        <source>Six curated themes. Press Ctrl+Shift+. for distraction-free writing.</source>
        <translation>Sześć starannie dobranych motywów. Naciśnij Ctrl+Shift+., aby pisać bez rozpraszaczy.</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Pomiń</translation>
    </message>
    <message>
        <source>Slash Commands</source>
        <translation>Polecenia z ukośnikiem</translation>
    </message>
    <message>
        <source>Slash commands</source>
        <translation>Polecenia z ukośnikiem</translation>
    </message>
    <message>
        <source>Sleek Pro</source>
        <translation>Sleek Pro</translation>
    </message>
    <message>
        <source>Small section heading</source>
        <translation>Mały nagłówek sekcji</translation>
    </message>
    <message>
        <source>Smallest heading</source>
        <translation>Najmniejszy nagłówek</translation>
    </message>
    <message>
        <source>Soft green paper</source>
        <translation>Miękki zielony papier</translation>
    </message>
    <message>
        <source>Some bytes could not be read; the copy shows them as “�”.</source>
        <translation>Niektórych bajtów nie udało się odczytać; w kopii są widoczne jako „�”.</translation>
    </message>
    <message>
        <source>Split</source>
        <translation>Podział</translation>
    </message>
    <message>
        <source>Strikethrough</source>
        <translation>Przekreślenie</translation>
    </message>
    <message>
        <source>Strong emphasis</source>
        <translation>Mocne wyróżnienie</translation>
    </message>
    <message>
        <source>Switch to Edit mode</source>
        <translation>Przełącz na tryb edycji</translation>
    </message>
    <message>
        <source>Switch to Preview mode</source>
        <translation>Przełącz na tryb podglądu</translation>
    </message>
    <message>
        <source>Switch to Split mode</source>
        <translation>Przełącz na tryb podziału</translation>
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
        <source>System</source>
        <comment>language.choice.system</comment>
        <translation>Systemowy</translation>
    </message>
    <message>
        <source>Table</source>
        <translation>Tabela</translation>
    </message>
    <message>
        <source>Task List</source>
        <translation>Lista zadań</translation>
    </message>
    <message>
        <source>Text Files</source>
        <translation>Pliki tekstowe</translation>
    </message>
    <message>
        <source>The PDF couldn’t be created.</source>
        <translation>Nie udało się utworzyć pliku PDF.</translation>
    </message>
    <message>
        <source>The copy: %1.</source>
        <translation>Kopia: %1.</translation>
    </message>
    <message>
        <source>The file could not be created in "%1".</source>
        <translation>Nie można utworzyć pliku w folderze „%1”.</translation>
    </message>
    <message>
        <source>The file could not be read as text.</source>
        <translation>Nie można odczytać pliku jako tekstu.</translation>
    </message>
    <message>
        <source>The file will be created in "%1".</source>
        <translation>Plik zostanie utworzony w folderze „%1”.</translation>
    </message>
    <message>
        <source>The file: %1.</source>
        <translation>Plik: %1.</translation>
    </message>
    <message>
        <source>The page couldn’t be loaded for printing.</source>
        <translation>Nie udało się wczytać strony do druku.</translation>
    </message>
    <message>
        <source>The page couldn’t be prepared for printing.</source>
        <translation>Nie udało się przygotować strony do druku.</translation>
    </message>
    <message>
        <source>The system did not accept quon as the default application for %1.</source>
        <translation>System nie przyjął quon jako domyślnej aplikacji dla %1.</translation>
    </message>
    <message>
        <source>The text it was saving is in “%1”, which differs from the file.</source>
        <translation>Zapisywany tekst znajduje się w „%1” i różni się od zawartości pliku.</translation>
    </message>
    <message>
        <source>The xdg-mime tool could not be run.</source>
        <translation>Nie można uruchomić narzędzia xdg-mime.</translation>
    </message>
    <message>
        <source>Themes &amp; Focus</source>
        <translation>Motywy i skupienie</translation>
    </message>
    <message>
        <source>These copies of texts whose save didn’t finish are kept:</source>
        <translation>Te kopie tekstów, których zapis się nie zakończył, zostaną zachowane:</translation>
    </message>
    <message>
        <source>This file was modified by another application. Reload to see the latest version, or keep editing your current version.</source>
        <translation>Ten plik został zmieniony przez inną aplikację. Wczytaj go ponownie, aby zobaczyć najnowszą wersję, albo edytuj dalej swoją bieżącą wersję.</translation>
    </message>
    <message>
        <source>This will reset quon to a fresh install — settings, recent files, and the feature tour will be cleared. The app will quit immediately.</source>
        <translation>quon wróci do stanu świeżej instalacji — ustawienia, ostatnie pliki i przewodnik zostaną wyczyszczone. Aplikacja od razu się zamknie.</translation>
    </message>
    <message>
        <source>Three ways to work</source>
        <translation>Trzy sposoby pracy</translation>
    </message>
    <message>
        <source>Tip: quon must be installed for this to work reliably.</source>
        <translation>Wskazówka: aby to działało niezawodnie, quon musi być zainstalowany.</translation>
    </message>
    <message>
        <source>Toggle Focus Mode</source>
        <translation>Przełącz tryb skupienia</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Pasek narzędzi</translation>
    </message>
    <message>
        <source>Type / anywhere to insert headings, lists, tables, and more.</source>
        <translation>Wpisz / w dowolnym miejscu, aby wstawić nagłówki, listy, tabele i nie tylko.</translation>
    </message>
    <message>
        <source>Type / for Markdown commands</source>
        <translation>Wpisz /, aby użyć poleceń Markdown</translation>
    </message>
    <message>
        <source>Type / in the editor for Markdown blocks</source>
        <translation>Wpisz / w edytorze, aby wstawić bloki Markdown</translation>
    </message>
    <message>
        <source>Type a command…</source>
        <translation>Wpisz polecenie…</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Cofnij</translation>
    </message>
    <message>
        <source>Unordered list with bullets</source>
        <translation>Lista nieuporządkowana z punktorami</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Bez tytułu</translation>
    </message>
    <message>
        <source>Untitled %1</source>
        <translation>Bez tytułu %1</translation>
    </message>
    <message>
        <source>Use one font for both themes</source>
        <translation>Jedna czcionka dla obu motywów</translation>
    </message>
    <message>
        <source>Use system monospace font</source>
        <translation>Użyj systemowej czcionki o stałej szerokości</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Wersja</translation>
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
        <source>Welcome Window</source>
        <translation>Okno powitalne</translation>
    </message>
    <message>
        <source>Welcome to quon</source>
        <translation>Witaj w quon</translation>
    </message>
    <message>
        <source>When off, new documents include a short Markdown sample showing the basics.</source>
        <translation>Gdy wyłączone, nowe dokumenty zawierają krótki przykład Markdown z podstawami.</translation>
    </message>
    <message>
        <source>You're set. Here are two quick tips to get the most out of quon.</source>
        <translation>Wszystko gotowe. Oto dwie szybkie wskazówki, jak najlepiej wykorzystać quon.</translation>
    </message>
    <message>
        <source>Your changes will be lost if you don’t save them.</source>
        <translation>Jeśli ich nie zapiszesz, zmiany zostaną utracone.</translation>
    </message>
    <message>
        <source>Your text is complete in “%1”, in the same folder.</source>
        <translation>Pełny tekst jest w pliku „%1” w tym samym folderze.</translation>
    </message>
    <message>
        <source>Your text is complete in “%1”.</source>
        <translation>Pełny tekst jest w pliku „%1”.</translation>
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
        <source>code</source>
        <translation>kod</translation>
    </message>
    <message>
        <source>export</source>
        <translation>eksport</translation>
    </message>
    <message>
        <source>quon</source>
        <translation>quon</translation>
    </message>
    <message>
        <source>quon can create a Markdown copy next to the original file and open it.</source>
        <translation>quon może utworzyć kopię w formacie Markdown obok oryginalnego pliku i ją otworzyć.</translation>
    </message>
    <message>
        <source>quon is not the default app for .md files.</source>
        <translation>quon nie jest domyślną aplikacją dla plików .md.</translation>
    </message>
    <message>
        <source>quon is the default app for Markdown files</source>
        <translation>quon jest domyślną aplikacją dla plików Markdown</translation>
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
        <source>written %1, %2</source>
        <translation>zapisano %1, %2</translation>
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
    <message>
        <source>“%1” is open in another window.</source>
        <translation>„%1” jest otwarty w innym oknie.</translation>
    </message>
    <message>
        <source>“%1” is too large to open: quon opens files of up to 64 MB.</source>
        <translation>„%1” jest za duży, by go otworzyć: quon otwiera pliki do 64 MB.</translation>
    </message>
    <message>
        <source>“%1” wasn’t saved because another application changed it.</source>
        <translation>Nie zapisano „%1”, ponieważ zmieniła go inna aplikacja.</translation>
    </message>
    <message>
        <source>•</source>
        <translation>•</translation>
    </message>
</context>
</TS>
