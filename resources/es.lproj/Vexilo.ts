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
</context>
</TS>
