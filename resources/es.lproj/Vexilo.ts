<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>Vexilo</name>
    <message>
        <source>Always open in this language</source>
        <translation>Abrir siempre en este idioma</translation>
    </message>
    <message>
        <source>Available in %d different languages.</source>
        <translation>Disponible en %d idiomas diferentes.</translation>
    </message>
    <message>
        <source>Only available in %@.</source>
        <translation>Disponible solo en %@.</translation>
    </message>
    <message>
        <source>(Unable to determine available languages)</source>
        <translation>(No se pueden determinar los idiomas disponibles)</translation>
    </message>
    <message>
        <source>Currently open in %@.</source>
        <translation>Abierta actualmente en %@.</translation>
    </message>
    <message>
        <source>Launch</source>
        <translation>Iniciar</translation>
    </message>
    <message>
        <source>Launching…</source>
        <translation type="vanished">Iniciando…</translation>
    </message>
    <message>
        <source>Launching...</source>
        <translation>Iniciando…</translation>
    </message>
    <message>
        <source>Quit?</source>
        <translation>¿Salir de la aplicación?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="vanished">Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Loading applications…</source>
        <translation>Cargando aplicaciones…</translation>
    </message>
    <message>
        <source>No Results Found</source>
        <translation>No se han encontrado resultados</translation>
    </message>
    <message>
        <source>About Vexilo</source>
        <translation>Acerca de Vexilo</translation>
    </message>
    <message>
        <source>Vexilo Help</source>
        <translation>Ayuda de Vexilo</translation>
    </message>
    <message>
        <source>Show Apps</source>
        <translation>Mostrar aplicaciones</translation>
    </message>
    <message>
        <source>Hide Vexilo</source>
        <translation type="vanished">Ocultar Vexilo</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>Aplicación</translation>
    </message>
    <message>
        <source>Shown</source>
        <translation>Visible</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <source>No apps were added.</source>
        <translation>No se ha añadido ninguna aplicación.</translation>
    </message>
    <message>
        <source>All the applications you selected are already in Vexilo.</source>
        <translation>Todas las aplicaciones que has seleccionado ya están en Vexilo.</translation>
    </message>
    <message>
        <source>Done!</source>
        <translation>¡Listo!</translation>
    </message>
    <message>
        <source>%d apps have been added to Vexilo.</source>
        <translation>Se han añadido %d aplicaciones a Vexilo.</translation>
    </message>
    <message>
        <source>Are you sure you want to remove %@ from Vexilo?</source>
        <translation>¿Seguro que quieres quitar %@ de Vexilo?</translation>
    </message>
    <message>
        <source>You can restore it later using &quot;Edit &gt; Show Apps&quot;.</source>
        <translation>Puedes recuperarla más tarde con «Edición &gt; Mostrar aplicaciones».</translation>
    </message>
    <message>
        <source>This app has been moved or deleted.</source>
        <translation>Esta aplicación se ha movido o eliminado.</translation>
    </message>
    <message>
        <source>%@ is already open. Are you sure you want to quit it and then re-open it in %@?</source>
        <translation>%@ ya está abierta. ¿Seguro que quieres cerrarla y volver a abrirla en %@?</translation>
    </message>
    <message>
        <source>Reset to default language?</source>
        <translation>¿Restablecer el idioma predeterminado?</translation>
    </message>
    <message>
        <source>Vexilo will need to quit %@.</source>
        <translation>Vexilo tendrá que cerrar %@.</translation>
    </message>
    <message>
        <source>Always open in %@?</source>
        <translation>¿Abrir siempre en %@?</translation>
    </message>
    <message>
        <source>%@ currently opens in %@.
Vexilo will need to quit it first.</source>
        <translation>%@ se abre actualmente en %@.
Vexilo tendrá que cerrarla primero.</translation>
    </message>
    <message>
        <source>%@ will always open in the system language.</source>
        <translation>%@ se abrirá siempre en el idioma del sistema.</translation>
    </message>
    <message>
        <source>%@ currently opens in %@.</source>
        <translation>%@ se abre actualmente en %@.</translation>
    </message>
    <message>
        <source>This can be changed at any time.</source>
        <translation>Puedes cambiarlo en cualquier momento.</translation>
    </message>
    <message>
        <source>Thank you for using Vexilo!</source>
        <translation>¡Gracias por usar Vexilo!</translation>
    </message>
    <message>
        <source>If you&apos;re finding it useful, please do consider making a donation. It would be much appreciated, and helps with our web hosting costs.

(If you&apos;ve donated already - thank you very much!)
</source>
        <translation>Si Vexilo te resulta útil, piensa en hacer un donativo. Te lo agradeceríamos mucho, y nos ayuda a pagar el alojamiento de nuestra web.

(Si ya has hecho un donativo, ¡muchísimas gracias!)
</translation>
    </message>
    <message>
        <source>Credits</source>
        <translation>Créditos</translation>
    </message>
    <message>
        <source>Applications</source>
        <translation>Aplicaciones</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>%@ cannot be removed from Vexilo.</source>
        <translation>%@ no se puede quitar de Vexilo.</translation>
    </message>
    <message>
        <source>This app has no bundle identifier, so Vexilo cannot hide it.</source>
        <translation>Esta aplicación no tiene identificador de paquete, así que Vexilo no puede ocultarla.</translation>
    </message>
    <message>
        <source>%@ is not an application.</source>
        <translation>%@ no es una aplicación.</translation>
    </message>
    <message>
        <source>Choose application bundles: folders whose names end in .app and that hold a Contents/Info.plist file. Nothing was added.</source>
        <translation>Elige paquetes de aplicaciones: carpetas cuyo nombre termina en .app y que contienen un archivo Contents/Info.plist. No se ha añadido nada.</translation>
    </message>
    <message>
        <source>Vexilo could not save your change.</source>
        <translation>Vexilo no ha podido guardar el cambio.</translation>
    </message>
    <message>
        <source>Nothing was changed. Check that the file %@ and its folder can be written.</source>
        <translation>No se ha cambiado nada. Comprueba que se puede escribir en el archivo %@ y en su carpeta.</translation>
    </message>
    <message>
        <source>Choose the applications Vexilo shows.</source>
        <translation>Elige las aplicaciones que muestra Vexilo.</translation>
    </message>
    <message>
        <source>The language was not changed</source>
        <translation>No se ha cambiado el idioma</translation>
    </message>
    <message>
        <source>Vexilo could not change the language %@ opens in.</source>
        <translation>Vexilo no ha podido cambiar el idioma en el que se abre %@.</translation>
    </message>
    <message>
        <source>%@ is set up to open by a file that Vexilo did not write:
%@
Vexilo leaves it as it is.</source>
        <translation>%@ se abre mediante un archivo que Vexilo no ha escrito:
%@
Vexilo lo deja tal como está.</translation>
    </message>
    <message>
        <source>This app has no bundle identifier, so Vexilo cannot set its language.</source>
        <translation>Esta app no tiene identificador de paquete, así que Vexilo no puede fijar su idioma.</translation>
    </message>
    <message>
        <source>The application has no executable to start.</source>
        <translation>La aplicación no tiene ningún ejecutable que abrir.</translation>
    </message>
    <message>
        <source>The file that sets its language could not be written.</source>
        <translation>No se pudo escribir el archivo que fija su idioma.</translation>
    </message>
    <message>
        <source>The program it runs is not installed.</source>
        <translation>El programa que ejecuta no está instalado.</translation>
    </message>
    <message>
        <source>Wait until Vexilo has finished opening it.</source>
        <translation>Espere a que Vexilo termine de abrirla.</translation>
    </message>
    <message>
        <source>%@ could not be opened.</source>
        <translation>No se pudo abrir %@.</translation>
    </message>
    <message>
        <source>Currently open.</source>
        <translation>Abierta actualmente.</translation>
    </message>
    <message>
        <source>These folders are not applications: %@.</source>
        <translation>Estas carpetas no son aplicaciones: %@.</translation>
    </message>
    <message>
        <source>Only application bundles can be added: folders whose names end in .app and that hold a Contents/Info.plist file. The other applications you selected were added.</source>
        <translation>Solo se pueden añadir paquetes de aplicaciones: carpetas cuyo nombre termina en .app y que contienen un archivo Contents/Info.plist. Las demás aplicaciones que has seleccionado se han añadido.</translation>
    </message>
    <message>
        <source>Only application bundles can be added: folders whose names end in .app and that hold a Contents/Info.plist file. The other applications you selected are already in Vexilo.</source>
        <translation>Solo se pueden añadir paquetes de aplicaciones: carpetas cuyo nombre termina en .app y que contienen un archivo Contents/Info.plist. Las demás aplicaciones que has seleccionado ya están en Vexilo.</translation>
    </message>
    <message>
        <source>Add Applications</source>
        <translation>Añadir aplicaciones</translation>
    </message>
    <message>
        <source>Vexilo could not open your mail program.</source>
        <translation>Vexilo no ha podido abrir su programa de correo.</translation>
    </message>
    <message>
        <source>Please write to %@ with the mail program you use. You can copy the address from here.</source>
        <translation>Escriba a %@ con el programa de correo que utilice. Puede copiar la dirección desde aquí.</translation>
    </message>
    <message>
        <source>Vexilo could not open your web browser.</source>
        <translation>Vexilo no ha podido abrir su navegador web.</translation>
    </message>
    <message>
        <source>To donate, open this address in a web browser. You can copy it from here:
%@</source>
        <translation>Para hacer un donativo, abra esta dirección en un navegador web. Puede copiarla desde aquí:
%@</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Quitar</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Add Application…</source>
        <translation>&amp;Añadir aplicación…</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Cerrar</translation>
    </message>
    <message>
        <source>&amp;Quit Vexilo</source>
        <translation>&amp;Salir de Vexilo</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edición</translation>
    </message>
    <message>
        <source>&amp;Show Apps</source>
        <translation>&amp;Mostrar aplicaciones</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Ventana</translation>
    </message>
    <message>
        <source>&amp;Minimize</source>
        <translation>&amp;Minimizar</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;yuda</translation>
    </message>
    <message>
        <source>Vexilo &amp;Help</source>
        <translation>A&amp;yuda de Vexilo</translation>
    </message>
    <message>
        <source>Send &amp;Feedback…</source>
        <translation>&amp;Enviar comentarios…</translation>
    </message>
    <message>
        <source>&amp;Donate…</source>
        <translation>Hacer un &amp;donativo…</translation>
    </message>
    <message>
        <source>&amp;About Vexilo</source>
        <translation>&amp;Acerca de Vexilo</translation>
    </message>
    <message>
        <source>&amp;Donate Now</source>
        <translation>&amp;Donar ahora</translation>
    </message>
    <message>
        <source>&amp;Not yet</source>
        <translation>&amp;Ahora no</translation>
    </message>
    <message>
        <source>Unknown command: %@</source>
        <translation>Orden desconocida: %@</translation>
    </message>
    <message>
        <source>Unknown option: %@</source>
        <translation>Opción desconocida: %@</translation>
    </message>
    <message>
        <source>Wrong number of arguments.</source>
        <translation>Número de argumentos incorrecto.</translation>
    </message>
    <message>
        <source>Usage: vexilo list [--json | --quiet]
Lists the applications: name, identifier and number of languages, hidden ones marked.
  --json   as JSON
  --quiet  the identifiers and names of the applications shown, one a line
</source>
        <translation>Uso: vexilo list [--json | --quiet]
Muestra las aplicaciones: nombre, identificador y número de idiomas, las ocultas marcadas.
  --json   en JSON
  --quiet  los identificadores y nombres de las aplicaciones mostradas, uno por línea
</translation>
    </message>
    <message>
        <source>Usage: vexilo languages APP [--json | --quiet]
Lists the languages of APP: code and name, the stored one marked *.
  --json   as JSON
  --quiet  the codes only
</source>
        <translation>Uso: vexilo languages APP [--json | --quiet]
Muestra los idiomas de APP: código y nombre, el guardado marcado con *.
  --json   en JSON
  --quiet  solo los códigos
</translation>
    </message>
    <message>
        <source>Usage: vexilo launch APP LANG [--restart]
Opens APP once in LANG.
  --restart  quit a running copy first (else it is refused, status 3)
</source>
        <translation>Uso: vexilo launch APP IDIOMA [--restart]
Abre APP una vez en IDIOMA.
  --restart  cerrar antes una copia abierta (si no, se rechaza, estado 3)
</translation>
    </message>
    <message>
        <source>Usage: vexilo always APP LANG [--restart]
       vexilo always APP --reset [--restart]
Makes APP always open in LANG, or in the system language again.
  --restart  quit a running copy first and open it again (else it is refused, status 3)
</source>
        <translation>Uso: vexilo always APP IDIOMA [--restart]
     vexilo always APP --reset [--restart]
Abre APP siempre en IDIOMA, o de nuevo en el idioma del sistema.
  --restart  cerrar antes una copia abierta y volver a abrirla (si no, se rechaza, estado 3)
</translation>
    </message>
    <message>
        <source>Usage: vexilo running APP [--json]
Names the language of each running copy of APP.
  --json   as JSON
</source>
        <translation>Uso: vexilo running APP [--json]
Indica el idioma de cada copia abierta de APP.
  --json   en JSON
</translation>
    </message>
    <message>
        <source>Usage: vexilo [COMMAND [ARGUMENTS]]
Without a command, opens the window.
  list                   the applications
  languages APP          the languages of an application
  launch APP LANG        open it once in a language
  always APP LANG|--reset  always open it in a language, or not
  running APP            the language of its running copies
APP: a name, identifier, desktop-file ID or bundle path. LANG: a code or a language name.
Exit status: 0 done, 1 error, 2 wrong usage, 3 refused because it runs, 4 refused: its language cannot be set.
vexilo COMMAND --help describes each command.
</source>
        <translation>Uso: vexilo [ORDEN [ARGUMENTOS]]
Sin orden, abre la ventana.
  list                   las aplicaciones
  languages APP          los idiomas de una aplicación
  launch APP IDIOMA      abrirla una vez en un idioma
  always APP IDIOMA|--reset  abrirla siempre en un idioma, o ya no
  running APP            el idioma de sus copias abiertas
APP: un nombre, un identificador, un ID de archivo desktop o la ruta de un paquete. IDIOMA: un código o un nombre de idioma.
Estado de salida: 0 hecho, 1 error, 2 uso incorrecto, 3 rechazado porque está abierta, 4 rechazado: no se puede fijar su idioma.
vexilo ORDEN --help describe cada orden.
</translation>
    </message>
    <message>
        <source>Several applications match “%@”:</source>
        <translation>Varias aplicaciones coinciden con «%@»:</translation>
    </message>
    <message>
        <source>No application matches “%@”.</source>
        <translation>Ninguna aplicación coincide con «%@».</translation>
    </message>
    <message>
        <source>%@ has no language “%@”. Its languages: %@</source>
        <translation>%@ no tiene el idioma «%@». Sus idiomas: %@</translation>
    </message>
    <message>
        <source>%@ is already open. Give --restart to quit it first.</source>
        <translation>%@ ya está abierta. Indique --restart para cerrarla antes.</translation>
    </message>
    <message>
        <source>hidden</source>
        <translation>oculta</translation>
    </message>
    <message>
        <source>%@ is not running.</source>
        <translation>%@ no está abierta.</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>desconocido</translation>
    </message>
</context>
</TS>
