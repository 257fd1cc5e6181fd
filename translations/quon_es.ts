<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>quon</name>
    <message>
        <source>"%1" is not a Markdown file.</source>
        <translation>«%1» no es un archivo Markdown.</translation>
    </message>
    <message>
        <source>"%1" is not valid UTF-8 text.</source>
        <translation>«%1» no es texto UTF-8 válido.</translation>
    </message>
    <message>
        <source># heading</source>
        <translation># encabezado</translation>
    </message>
    <message>
        <source>%1  ·  %2</source>
        <translation>%1  ·  %2</translation>
    </message>
    <message>
        <source>%1 copy</source>
        <translation>%1 (copia)</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 de %2</translation>
    </message>
    <message>
        <source>%1 pt</source>
        <translation>%1 pt</translation>
    </message>
    <message>
        <source>%1.</source>
        <translation>%1.</translation>
    </message>
    <message numerus="yes">
        <source>%n bytes</source>
        <translation>
            <numerusform>%n byte</numerusform>
            <numerusform>%n bytes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n characters</source>
        <translation>
            <numerusform>%n carácter</numerusform>
            <numerusform>%n caracteres</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n words</source>
        <translation>
            <numerusform>%n palabra</numerusform>
            <numerusform>%n palabras</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edición</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;yuda</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ver</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>Ve&amp;ntana</translation>
    </message>
    <message>
        <source>/hea</source>
        <translation>/enc</translation>
    </message>
    <message>
        <source>A save of “%1” didn’t finish.</source>
        <translation>No se terminó de guardar «%1».</translation>
    </message>
    <message>
        <source>About quon</source>
        <translation>Acerca de quon</translation>
    </message>
    <message>
        <source>After the first tour, this is off by default. Turn it on to see the tour again each time you open quon.</source>
        <translation>Tras el primer recorrido, esta opción queda desactivada. Actívala para ver el recorrido cada vez que abras quon.</translation>
    </message>
    <message>
        <source>All Files</source>
        <translation>Todos los archivos</translation>
    </message>
    <message>
        <source>Another application changed this file. Saving will replace its change with your version.</source>
        <translation>Otra aplicación cambió este archivo. Al guardar, su cambio se reemplazará por tu versión.</translation>
    </message>
    <message>
        <source>App Language</source>
        <translation>Idioma de la app</translation>
    </message>
    <message>
        <source>App language follows the Linux system language when set to System.</source>
        <translation>Con Sistema, el idioma de la app sigue el idioma del sistema Linux.</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Apariencia</translation>
    </message>
    <message>
        <source>Applies to preview headings and body text. Editor stays monospaced.</source>
        <translation>Se aplica a los encabezados y al texto de la vista previa. El editor sigue siendo monoespaciado.</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Atrás</translation>
    </message>
    <message>
        <source>Beautiful Markdown for Linux</source>
        <translation>Markdown elegante para Linux</translation>
    </message>
    <message>
        <source>Beautiful Markdown for Linux. Write in Markdown, see it rendered instantly.</source>
        <translation>Markdown elegante para Linux. Escribe en Markdown y míralo renderizado al instante.</translation>
    </message>
    <message>
        <source>Behavior</source>
        <translation>Comportamiento</translation>
    </message>
    <message>
        <source>Blockquote</source>
        <translation>Cita</translation>
    </message>
    <message>
        <source>Blocks</source>
        <translation>Bloques</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Negrita</translation>
    </message>
    <message>
        <source>Built with cmark-gfm and highlight.js.</source>
        <translation>Creado con cmark-gfm y highlight.js.</translation>
    </message>
    <message>
        <source>Bulleted List</source>
        <translation>Lista con viñetas</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Changes apply to the Files menu immediately.</source>
        <translation>Los cambios se aplican al menú de Archivos de inmediato.</translation>
    </message>
    <message>
        <source>Checklist with interactive boxes</source>
        <translation>Lista de comprobación con casillas interactivas</translation>
    </message>
    <message>
        <source>Choose a theme for each mode below. System follows Linux.</source>
        <translation>Elige abajo un tema para cada modo. Sistema sigue a Linux.</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>Clear &amp; Quit</source>
        <translation>Borrar y salir</translation>
    </message>
    <message>
        <source>Clear App Data?</source>
        <translation>¿Borrar los datos de la app?</translation>
    </message>
    <message>
        <source>Clear App Data…</source>
        <translation>Borrar datos de la app…</translation>
    </message>
    <message>
        <source>Clear Menu</source>
        <translation>Borrar menú</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Close Find Bar</source>
        <translation>Cerrar la barra de búsqueda</translation>
    </message>
    <message>
        <source>Close find bar</source>
        <translation>Cerrar la barra de búsqueda</translation>
    </message>
    <message>
        <source>Code</source>
        <translation>Código</translation>
    </message>
    <message>
        <source>Code Block</source>
        <translation>Bloque de código</translation>
    </message>
    <message>
        <source>Color scheme</source>
        <translation>Esquema de color</translation>
    </message>
    <message>
        <source>Command Palette</source>
        <translation>Paleta de comandos</translation>
    </message>
    <message>
        <source>Command Palette…</source>
        <translation>Paleta de comandos…</translation>
    </message>
    <message>
        <source>Compact heading</source>
        <translation>Encabezado compacto</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Continuar</translation>
    </message>
    <message>
        <source>Convert to Markdown</source>
        <translation>Convertir a Markdown</translation>
    </message>
    <message>
        <source>Cool white, indigo</source>
        <translation>Blanco frío, índigo</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>Copiado</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>Copy as HTML</source>
        <translation>Copiar como HTML</translation>
    </message>
    <message>
        <source>Could Not Convert File</source>
        <translation>No se pudo convertir el archivo</translation>
    </message>
    <message>
        <source>Could Not Create File</source>
        <translation>No se pudo crear el archivo</translation>
    </message>
    <message>
        <source>Could Not Open File</source>
        <translation>No se pudo abrir el archivo</translation>
    </message>
    <message>
        <source>Could Not Reload File</source>
        <translation>No se pudo volver a cargar el archivo</translation>
    </message>
    <message>
        <source>Could Not Save File</source>
        <translation>No se pudo guardar el archivo</translation>
    </message>
    <message>
        <source>Could Not Set Default App</source>
        <translation>No se pudo establecer la app predeterminada</translation>
    </message>
    <message>
        <source>Could Not Show Folder</source>
        <translation>No se pudo mostrar la carpeta</translation>
    </message>
    <message>
        <source>Cream, ink, warm orange</source>
        <translation>Crema, tinta, naranja cálido</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Crear</translation>
    </message>
    <message>
        <source>Create Markdown files from Files with the quon extension</source>
        <translation>Crea archivos Markdown desde Archivos con la extensión de quon</translation>
    </message>
    <message>
        <source>Crossed-out text</source>
        <translation>Texto tachado</translation>
    </message>
    <message>
        <source>Ctrl+Shift+.</source>
        <translation>Control+Mayúsculas+.</translation>
    </message>
    <message>
        <source>Ctrl+Shift+P</source>
        <translation>Control+Mayúsculas+P</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Cortar</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Oscuro</translation>
    </message>
    <message>
        <source>Dark theme</source>
        <translation>Tema oscuro</translation>
    </message>
    <message>
        <source>Dark theme font</source>
        <translation>Fuente del tema oscuro</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Datos</translation>
    </message>
    <message>
        <source>Default View Mode</source>
        <translation>Modo de vista predeterminado</translation>
    </message>
    <message>
        <source>Depth</source>
        <translation>Profundidad</translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation>Descartar</translation>
    </message>
    <message>
        <source>Divider</source>
        <translation>Separador</translation>
    </message>
    <message>
        <source>Do you want to save the changes made to the document “%1”?</source>
        <translation>¿Quieres guardar los cambios hechos en el documento «%1»?</translation>
    </message>
    <message>
        <source>Document</source>
        <translation>Documento</translation>
    </message>
    <message>
        <source>Don’t Save</source>
        <translation>No guardar</translation>
    </message>
    <message>
        <source>Double-clicking a .md file in Files will open it in quon.</source>
        <translation>Al hacer doble clic en un archivo .md en Archivos, se abrirá en quon.</translation>
    </message>
    <message>
        <source>Drop Markdown files here</source>
        <translation>Suelta aquí archivos Markdown</translation>
    </message>
    <message>
        <source>Duplicate</source>
        <translation>Duplicar</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Editar</translation>
    </message>
    <message>
        <source>Edit, Split, or Preview — switch anytime from the toolbar or Ctrl+1, Ctrl+2, Ctrl+3.</source>
        <translation>Editar, Dividida o Vista previa: cambia cuando quieras desde la barra de herramientas o con Control+1, Control+2, Control+3.</translation>
    </message>
    <message>
        <source>Editor</source>
        <translation>Editor</translation>
    </message>
    <message>
        <source>Embedded image</source>
        <translation>Imagen incrustada</translation>
    </message>
    <message>
        <source>Ember</source>
        <translation>Brasa</translation>
    </message>
    <message>
        <source>Emphasized text</source>
        <translation>Texto enfatizado</translation>
    </message>
    <message>
        <source>Enable Files Extension</source>
        <translation>Activar la extensión de Archivos</translation>
    </message>
    <message>
        <source>Enter Focus Mode</source>
        <translation>Entrar en el modo concentración</translation>
    </message>
    <message>
        <source>Enter a valid file name.</source>
        <translation>Introduce un nombre de archivo válido.</translation>
    </message>
    <message>
        <source>Exit Focus Mode</source>
        <translation>Salir del modo concentración</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportar</translation>
    </message>
    <message>
        <source>Export Failed</source>
        <translation>Error al exportar</translation>
    </message>
    <message>
        <source>Export as HTML</source>
        <translation>Exportar como HTML</translation>
    </message>
    <message>
        <source>Export as HTML…</source>
        <translation>Exportar como HTML…</translation>
    </message>
    <message>
        <source>Export as PDF</source>
        <translation>Exportar como PDF</translation>
    </message>
    <message>
        <source>Export as PDF…</source>
        <translation>Exportar como PDF…</translation>
    </message>
    <message>
        <source>Export as Plain Text</source>
        <translation>Exportar como texto sin formato</translation>
    </message>
    <message>
        <source>Export as Plain Text…</source>
        <translation>Exportar como texto sin formato…</translation>
    </message>
    <message>
        <source>Extensions</source>
        <translation>Extensiones</translation>
    </message>
    <message>
        <source>Fenced multi-line code</source>
        <translation>Código de varias líneas delimitado</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>File Changed on Disk</source>
        <translation>El archivo cambió en el disco</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Archivos</translation>
    </message>
    <message>
        <source>Files (Nautilus) is not installed on this computer.</source>
        <translation>Archivos (Nautilus) no está instalado en este equipo.</translation>
    </message>
    <message>
        <source>Files Extension</source>
        <translation>Extensión de Archivos</translation>
    </message>
    <message>
        <source>Files context menu</source>
        <translation>Menú contextual de Archivos</translation>
    </message>
    <message>
        <source>Files extension is disabled</source>
        <translation>La extensión de Archivos está desactivada</translation>
    </message>
    <message>
        <source>Files extension is enabled</source>
        <translation>La extensión de Archivos está activada</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Find in Document</source>
        <translation>Buscar en el documento</translation>
    </message>
    <message>
        <source>Find in Editor</source>
        <translation>Buscar en el editor</translation>
    </message>
    <message>
        <source>Find in document…</source>
        <translation>Buscar en el documento…</translation>
    </message>
    <message>
        <source>Find…</source>
        <translation>Buscar…</translation>
    </message>
    <message>
        <source>Focus Mode</source>
        <translation>Modo concentración</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Fuente</translation>
    </message>
    <message>
        <source>Font Size</source>
        <translation>Tamaño de fuente</translation>
    </message>
    <message>
        <source>Fonts</source>
        <translation>Fuentes</translation>
    </message>
    <message>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Get Started</source>
        <translation>Empezar</translation>
    </message>
    <message>
        <source>GitHub-style table</source>
        <translation>Tabla al estilo de GitHub</translation>
    </message>
    <message>
        <source>Graphite, violet</source>
        <translation>Grafito, violeta</translation>
    </message>
    <message>
        <source>Heading</source>
        <translation>Encabezado</translation>
    </message>
    <message>
        <source>Heading %1</source>
        <translation>Encabezado %1</translation>
    </message>
    <message>
        <source>Heading 1</source>
        <translation>Encabezado 1</translation>
    </message>
    <message>
        <source>Heading 2</source>
        <translation>Encabezado 2</translation>
    </message>
    <message>
        <source>Heading 3</source>
        <translation>Encabezado 3</translation>
    </message>
    <message>
        <source>Heading 4</source>
        <translation>Encabezado 4</translation>
    </message>
    <message>
        <source>Heading 5</source>
        <translation>Encabezado 5</translation>
    </message>
    <message>
        <source>Heading 6</source>
        <translation>Encabezado 6</translation>
    </message>
    <message>
        <source>Headings</source>
        <translation>Encabezados</translation>
    </message>
    <message>
        <source>Headings, lists, quotes, code, tables, and more</source>
        <translation>Encabezados, listas, citas, código, tablas y más</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Inicio</translation>
    </message>
    <message>
        <source>Horizontal thematic break</source>
        <translation>Separador temático horizontal</translation>
    </message>
    <message>
        <source>Hyperlink to a URL</source>
        <translation>Hipervínculo a una URL</translation>
    </message>
    <message>
        <source>If the button doesn't do the trick: run the install command in a terminal, then restart Files.</source>
        <translation>Si el botón no funciona: ejecuta el comando de instalación en una terminal y luego reinicia Archivos.</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Imagen</translation>
    </message>
    <message>
        <source>Indented quotation block</source>
        <translation>Bloque de cita con sangría</translation>
    </message>
    <message>
        <source>Inline</source>
        <translation>En línea</translation>
    </message>
    <message>
        <source>Inline Code</source>
        <translation>Código en línea</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Cursiva</translation>
    </message>
    <message>
        <source>Keep My Version</source>
        <translation>Conservar mi versión</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>Large section heading</source>
        <translation>Encabezado de sección grande</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Claro</translation>
    </message>
    <message>
        <source>Light theme</source>
        <translation>Tema claro</translation>
    </message>
    <message>
        <source>Light theme font</source>
        <translation>Fuente del tema claro</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Enlace</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Lista</translation>
    </message>
    <message>
        <source>Lists</source>
        <translation>Listas</translation>
    </message>
    <message>
        <source>Making the PDF took too long and was stopped.</source>
        <translation>La creación del PDF tardó demasiado y se detuvo.</translation>
    </message>
    <message>
        <source>Mark complete</source>
        <translation>Marcar como completada</translation>
    </message>
    <message>
        <source>Mark incomplete</source>
        <translation>Marcar como pendiente</translation>
    </message>
    <message>
        <source>Markdown Documents</source>
        <translation>Documentos Markdown</translation>
    </message>
    <message>
        <source>Markdown opens in quon; other files open in their default app. The prompt remembers your last choice.</source>
        <translation>Markdown se abre en quon; los demás archivos, en su app predeterminada. El aviso recuerda tu última elección.</translation>
    </message>
    <message>
        <source>Media</source>
        <translation>Multimedia</translation>
    </message>
    <message>
        <source>Medium section heading</source>
        <translation>Encabezado de sección mediano</translation>
    </message>
    <message>
        <source>Menu items</source>
        <translation>Elementos del menú</translation>
    </message>
    <message>
        <source>Minor heading</source>
        <translation>Encabezado menor</translation>
    </message>
    <message>
        <source>Missing: %1</source>
        <translation>No encontrado: %1</translation>
    </message>
    <message>
        <source>Monospace</source>
        <translation>Monoespaciada</translation>
    </message>
    <message>
        <source>Monospaced inline snippet</source>
        <translation>Fragmento monoespaciado en línea</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nuevo</translation>
    </message>
    <message>
        <source>New Document</source>
        <translation>Nuevo documento</translation>
    </message>
    <message>
        <source>New File</source>
        <translation>Nuevo archivo</translation>
    </message>
    <message>
        <source>New Markdown File</source>
        <translation>Nuevo archivo Markdown</translation>
    </message>
    <message>
        <source>New documents start empty</source>
        <translation>Los documentos nuevos empiezan vacíos</translation>
    </message>
    <message>
        <source>Night navy, teal</source>
        <translation>Azul noche, verde azulado</translation>
    </message>
    <message>
        <source>No Markdown content types are available on this system.</source>
        <translation>No hay tipos de contenido Markdown disponibles en este sistema.</translation>
    </message>
    <message>
        <source>No file manager could show the folder “%1”.</source>
        <translation>Ningún gestor de archivos pudo mostrar la carpeta «%1».</translation>
    </message>
    <message>
        <source>No matching commands</source>
        <translation>No hay comandos coincidentes</translation>
    </message>
    <message>
        <source>No recent files yet</source>
        <translation>Aún no hay archivos recientes</translation>
    </message>
    <message>
        <source>No results</source>
        <translation>Sin resultados</translation>
    </message>
    <message>
        <source>Normal Text</source>
        <translation>Texto normal</translation>
    </message>
    <message>
        <source>Numbered List</source>
        <translation>Lista numerada</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Open Copy</source>
        <translation>Abrir copia</translation>
    </message>
    <message>
        <source>Open Recent</source>
        <translation>Abrir reciente</translation>
    </message>
    <message>
        <source>Open file after creating</source>
        <translation>Abrir el archivo después de crearlo</translation>
    </message>
    <message>
        <source>Open files after creating by default</source>
        <translation>Abrir los archivos al crearlos de forma predeterminada</translation>
    </message>
    <message>
        <source>Opens the Welcome window when you close the last open document.</source>
        <translation>Abre la ventana de bienvenida al cerrar el último documento abierto.</translation>
    </message>
    <message>
        <source>Open…</source>
        <translation>Abrir…</translation>
    </message>
    <message>
        <source>Ordered list with numbers</source>
        <translation>Lista ordenada con números</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Pegar</translation>
    </message>
    <message>
        <source>Paste or type a URL…</source>
        <translation>Pega o escribe una URL…</translation>
    </message>
    <message>
        <source>Plain paragraph without heading</source>
        <translation>Párrafo normal sin encabezado</translation>
    </message>
    <message>
        <source>Porcelain</source>
        <translation>Porcelana</translation>
    </message>
    <message>
        <source>Press Ctrl+Shift+P to search actions, recent files, export, and settings.</source>
        <translation>Pulsa Control+Mayúsculas+P para buscar acciones, archivos recientes, exportación y ajustes.</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vista previa</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Ready to write</source>
        <translation>Listo para escribir</translation>
    </message>
    <message>
        <source>Recent</source>
        <translation>Recientes</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rehacer</translation>
    </message>
    <message>
        <source>Refresh status</source>
        <translation>Actualizar estado</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>Volver a cargar</translation>
    </message>
    <message>
        <source>Remove from recents</source>
        <translation>Quitar de recientes</translation>
    </message>
    <message>
        <source>Removes settings, recent files, and onboarding state. Your documents on disk are not affected.</source>
        <translation>Elimina los ajustes, los archivos recientes y el estado de bienvenida. Tus documentos en disco no se ven afectados.</translation>
    </message>
    <message>
        <source>Replay the welcome guided tour</source>
        <translation>Repetir el recorrido de bienvenida</translation>
    </message>
    <message>
        <source>Restart Files</source>
        <translation>Reiniciar Archivos</translation>
    </message>
    <message>
        <source>Reveal in Files</source>
        <translation>Mostrar en Archivos</translation>
    </message>
    <message>
        <source>Right-click a folder in Files to create a new file — any type, or Markdown — exactly where you are.</source>
        <translation>Haz clic derecho en una carpeta en Archivos para crear un archivo nuevo — de cualquier tipo o Markdown — justo donde estás.</translation>
    </message>
    <message>
        <source>Right-click any folder in Files to create a new file. If menu items are missing, restart Files.</source>
        <translation>Haz clic derecho en cualquier carpeta en Archivos para crear un archivo nuevo. Si faltan elementos del menú, reinicia Archivos.</translation>
    </message>
    <message>
        <source>Rounded</source>
        <translation>Redondeada</translation>
    </message>
    <message>
        <source>Run this command in a terminal to install the Files extension, then restart Files.</source>
        <translation>Ejecuta este comando en una terminal para instalar la extensión de Archivos y luego reinicia Archivos.</translation>
    </message>
    <message>
        <source>Sage</source>
        <translation>Salvia</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Save Anyway</source>
        <translation>Guardar de todos modos</translation>
    </message>
    <message>
        <source>Save As…</source>
        <translation>Guardar como…</translation>
    </message>
    <message>
        <source>Save Markdown Copy</source>
        <translation>Guardar copia en Markdown</translation>
    </message>
    <message>
        <source>Save Markdown Copy…</source>
        <translation>Guardar copia en Markdown…</translation>
    </message>
    <message>
        <source>Search in the current document</source>
        <translation>Buscar en el documento actual</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Seleccionar todo</translation>
    </message>
    <message>
        <source>Serif</source>
        <translation>Serif</translation>
    </message>
    <message>
        <source>Set as Default for Markdown Files</source>
        <translation>Establecer como predeterminada para archivos Markdown</translation>
    </message>
    <message>
        <source>Set quon as your default .md app in Settings → Files</source>
        <translation>Haz de quon tu aplicación predeterminada para .md en Ajustes → Archivos</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Ajustes…</translation>
    </message>
    <message>
        <source>Share &amp; Export</source>
        <translation>Compartir y exportar</translation>
    </message>
    <message>
        <source>Show "New File Here"</source>
        <translation>Mostrar «Nuevo archivo aquí»</translation>
    </message>
    <message>
        <source>Show "New Markdown File Here"</source>
        <translation>Mostrar «Nuevo archivo Markdown aquí»</translation>
    </message>
    <message>
        <source>Show Feature Tour</source>
        <translation>Mostrar el recorrido</translation>
    </message>
    <message>
        <source>Show Home after closing last document</source>
        <translation>Mostrar Inicio al cerrar el último documento</translation>
    </message>
    <message>
        <source>Show Install Command…</source>
        <translation>Mostrar comando de instalación…</translation>
    </message>
    <message>
        <source>Show Welcome window</source>
        <translation>Mostrar la ventana de bienvenida</translation>
    </message>
    <message>
        <source>Show feature tour now</source>
        <translation>Mostrar el recorrido ahora</translation>
    </message>
    <message>
        <source>Show feature tour on launch</source>
        <translation>Mostrar el recorrido al abrir</translation>
    </message>
    <message>
        <source>Show less</source>
        <translation>Mostrar menos</translation>
    </message>
    <message>
        <source>Show more</source>
        <translation>Mostrar más</translation>
    </message>
    <message>
        <source>Six curated themes. Press Ctrl+Shift+. for distraction-free writing.</source>
        <translation>Seis temas cuidados. Pulsa Control+Mayúsculas+. para escribir sin distracciones.</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Omitir</translation>
    </message>
    <message>
        <source>Slash Commands</source>
        <translation>Comandos de barra</translation>
    </message>
    <message>
        <source>Slash commands</source>
        <translation>Comandos de barra</translation>
    </message>
    <message>
        <source>Sleek Pro</source>
        <translation>Sleek Pro</translation>
    </message>
    <message>
        <source>Small section heading</source>
        <translation>Encabezado de sección pequeño</translation>
    </message>
    <message>
        <source>Smallest heading</source>
        <translation>Encabezado más pequeño</translation>
    </message>
    <message>
        <source>Soft green paper</source>
        <translation>Papel verde suave</translation>
    </message>
    <message>
        <source>Some bytes could not be read; the copy shows them as “�”.</source>
        <translation>Algunos bytes no se pudieron leer; la copia los muestra como «�».</translation>
    </message>
    <message>
        <source>Split</source>
        <translation>Dividida</translation>
    </message>
    <message>
        <source>Strikethrough</source>
        <translation>Tachado</translation>
    </message>
    <message>
        <source>Strong emphasis</source>
        <translation>Énfasis fuerte</translation>
    </message>
    <message>
        <source>Switch to Edit mode</source>
        <translation>Cambiar al modo de edición</translation>
    </message>
    <message>
        <source>Switch to Preview mode</source>
        <translation>Cambiar al modo de vista previa</translation>
    </message>
    <message>
        <source>Switch to Split mode</source>
        <translation>Cambiar al modo dividido</translation>
    </message>
    <message>
        <source>System</source>
        <translation>Sistema</translation>
    </message>
    <message>
        <source>System</source>
        <comment>font.choice.system</comment>
        <translation>Sistema</translation>
    </message>
    <message>
        <source>System</source>
        <comment>language.choice.system</comment>
        <translation>Sistema</translation>
    </message>
    <message>
        <source>Table</source>
        <translation>Tabla</translation>
    </message>
    <message>
        <source>Task List</source>
        <translation>Lista de tareas</translation>
    </message>
    <message>
        <source>Text Files</source>
        <translation>Archivos de texto</translation>
    </message>
    <message>
        <source>The PDF couldn’t be created.</source>
        <translation>No se pudo crear el PDF.</translation>
    </message>
    <message>
        <source>The copy: %1.</source>
        <translation>La copia: %1.</translation>
    </message>
    <message>
        <source>The file could not be created in "%1".</source>
        <translation>No se pudo crear el archivo en «%1».</translation>
    </message>
    <message>
        <source>The file could not be read as text.</source>
        <translation>No se pudo leer el archivo como texto.</translation>
    </message>
    <message>
        <source>The file will be created in "%1".</source>
        <translation>El archivo se creará en «%1».</translation>
    </message>
    <message>
        <source>The file: %1.</source>
        <translation>El archivo: %1.</translation>
    </message>
    <message>
        <source>The page couldn’t be loaded for printing.</source>
        <translation>No se pudo cargar la página para imprimirla.</translation>
    </message>
    <message>
        <source>The page couldn’t be prepared for printing.</source>
        <translation>No se pudo preparar la página para imprimirla.</translation>
    </message>
    <message>
        <source>The system did not accept quon as the default application for %1.</source>
        <translation>El sistema no aceptó quon como aplicación predeterminada para %1.</translation>
    </message>
    <message>
        <source>The text it was saving is in “%1”, which differs from the file.</source>
        <translation>El texto que se estaba guardando está en «%1» y difiere del archivo.</translation>
    </message>
    <message>
        <source>The xdg-mime tool could not be run.</source>
        <translation>No se pudo ejecutar la herramienta xdg-mime.</translation>
    </message>
    <message>
        <source>Themes &amp; Focus</source>
        <translation>Temas y concentración</translation>
    </message>
    <message>
        <source>These copies of texts whose save didn’t finish are kept:</source>
        <translation>Se conservan estas copias de textos cuyo guardado no terminó:</translation>
    </message>
    <message>
        <source>This file was modified by another application. Reload to see the latest version, or keep editing your current version.</source>
        <translation>Otra aplicación ha modificado este archivo. Vuelve a cargarlo para ver la versión más reciente o sigue editando tu versión actual.</translation>
    </message>
    <message>
        <source>This will reset quon to a fresh install — settings, recent files, and the feature tour will be cleared. The app will quit immediately.</source>
        <translation>quon volverá a su estado recién instalado: se borrarán los ajustes, los archivos recientes y el recorrido. La app se cerrará de inmediato.</translation>
    </message>
    <message>
        <source>Three ways to work</source>
        <translation>Tres formas de trabajar</translation>
    </message>
    <message>
        <source>Tip: quon must be installed for this to work reliably.</source>
        <translation>Consejo: quon debe estar instalado para que esto funcione de forma fiable.</translation>
    </message>
    <message>
        <source>Toggle Focus Mode</source>
        <translation>Activar o desactivar el modo concentración</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Barra de herramientas</translation>
    </message>
    <message>
        <source>Type / anywhere to insert headings, lists, tables, and more.</source>
        <translation>Escribe / en cualquier lugar para insertar encabezados, listas, tablas y más.</translation>
    </message>
    <message>
        <source>Type / for Markdown commands</source>
        <translation>Escribe / para ver los comandos de Markdown</translation>
    </message>
    <message>
        <source>Type / in the editor for Markdown blocks</source>
        <translation>Escribe / en el editor para insertar bloques de Markdown</translation>
    </message>
    <message>
        <source>Type a command…</source>
        <translation>Escribe un comando…</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Unordered list with bullets</source>
        <translation>Lista sin orden con viñetas</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Sin título</translation>
    </message>
    <message>
        <source>Untitled %1</source>
        <translation>Sin título %1</translation>
    </message>
    <message>
        <source>Use one font for both themes</source>
        <translation>Usar una fuente para ambos temas</translation>
    </message>
    <message>
        <source>Use system monospace font</source>
        <translation>Usar la fuente monoespaciada del sistema</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Versión</translation>
    </message>
    <message>
        <source>Warm Editorial</source>
        <translation>Editorial cálido</translation>
    </message>
    <message>
        <source>Warm black, amber</source>
        <translation>Negro cálido, ámbar</translation>
    </message>
    <message>
        <source>Welcome Window</source>
        <translation>Ventana de bienvenida</translation>
    </message>
    <message>
        <source>Welcome to quon</source>
        <translation>Te damos la bienvenida a quon</translation>
    </message>
    <message>
        <source>When off, new documents include a short Markdown sample showing the basics.</source>
        <translation>Si está desactivado, los documentos nuevos incluyen un breve ejemplo de Markdown con lo básico.</translation>
    </message>
    <message>
        <source>You're set. Here are two quick tips to get the most out of quon.</source>
        <translation>Todo listo. Aquí tienes dos consejos rápidos para sacar el máximo partido a quon.</translation>
    </message>
    <message>
        <source>Your changes will be lost if you don’t save them.</source>
        <translation>Si no los guardas, se perderán los cambios.</translation>
    </message>
    <message>
        <source>Your text is complete in “%1”, in the same folder.</source>
        <translation>El texto completo está en «%1», en la misma carpeta.</translation>
    </message>
    <message>
        <source>Your text is complete in “%1”.</source>
        <translation>El texto completo está en «%1».</translation>
    </message>
    <message>
        <source>character</source>
        <translation>carácter</translation>
    </message>
    <message>
        <source>characters</source>
        <translation>caracteres</translation>
    </message>
    <message>
        <source>code</source>
        <translation>código</translation>
    </message>
    <message>
        <source>export</source>
        <translation>exportar</translation>
    </message>
    <message>
        <source>quon</source>
        <translation>quon</translation>
    </message>
    <message>
        <source>quon can create a Markdown copy next to the original file and open it.</source>
        <translation>quon puede crear una copia en Markdown junto al archivo original y abrirla.</translation>
    </message>
    <message>
        <source>quon is not the default app for .md files.</source>
        <translation>quon no es la app predeterminada para archivos .md.</translation>
    </message>
    <message>
        <source>quon is the default app for Markdown files</source>
        <translation>quon es la app predeterminada para archivos Markdown</translation>
    </message>
    <message>
        <source>word</source>
        <translation>palabra</translation>
    </message>
    <message>
        <source>words</source>
        <translation>palabras</translation>
    </message>
    <message>
        <source>written %1, %2</source>
        <translation>escrito %1, %2</translation>
    </message>
    <message>
        <source>“%1” can’t be opened because its text isn’t valid UTF-8.</source>
        <translation>No se puede abrir «%1» porque su texto no es UTF-8 válido.</translation>
    </message>
    <message>
        <source>“%1” couldn’t be read.</source>
        <translation>No se pudo leer «%1».</translation>
    </message>
    <message>
        <source>“%1” couldn’t be saved because its text can’t be written as UTF-8.</source>
        <translation>No se pudo guardar «%1» porque su texto no se puede escribir como UTF-8.</translation>
    </message>
    <message>
        <source>“%1” couldn’t be saved.</source>
        <translation>No se pudo guardar «%1».</translation>
    </message>
    <message>
        <source>“%1” is not a regular file and can’t be opened as a document.</source>
        <translation>«%1» no es un archivo normal y no se puede abrir como documento.</translation>
    </message>
    <message>
        <source>“%1” is open in another window.</source>
        <translation>«%1» está abierto en otra ventana.</translation>
    </message>
    <message>
        <source>“%1” is too large to open: quon opens files of up to 64 MB.</source>
        <translation>“%1” es demasiado grande para abrirlo: quon abre archivos de hasta 64 MB.</translation>
    </message>
    <message>
        <source>“%1” wasn’t saved because another application changed it.</source>
        <translation>No se guardó «%1» porque otra aplicación lo modificó.</translation>
    </message>
    <message>
        <source>•</source>
        <translation>•</translation>
    </message>
</context>
</TS>
