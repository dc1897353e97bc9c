<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Vexilo</name>
    <message>
        <source>Always open in this language</source>
        <translation>Immer in dieser Sprache öffnen</translation>
    </message>
    <message>
        <source>Available in %d different languages.</source>
        <translation>In %d verschiedenen Sprachen verfügbar.</translation>
    </message>
    <message>
        <source>Only available in %@.</source>
        <translation>Nur auf %@ verfügbar.</translation>
    </message>
    <message>
        <source>(Unable to determine available languages)</source>
        <translation>(Die verfügbaren Sprachen konnten nicht ermittelt werden)</translation>
    </message>
    <message>
        <source>Currently open in %@.</source>
        <translation>Zurzeit auf %@ geöffnet.</translation>
    </message>
    <message>
        <source>Launch</source>
        <translation>Starten</translation>
    </message>
    <message>
        <source>Launching…</source>
        <translation type="vanished">Wird gestartet…</translation>
    </message>
    <message>
        <source>Launching...</source>
        <translation>Wird gestartet…</translation>
    </message>
    <message>
        <source>Quit?</source>
        <translation>Beenden?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="vanished">OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Loading applications…</source>
        <translation>Programme werden geladen…</translation>
    </message>
    <message>
        <source>No Results Found</source>
        <translation>Keine Treffer</translation>
    </message>
    <message>
        <source>About Vexilo</source>
        <translation>Über Vexilo</translation>
    </message>
    <message>
        <source>Vexilo Help</source>
        <translation>Vexilo-Hilfe</translation>
    </message>
    <message>
        <source>Show Apps</source>
        <translation>Programme anzeigen</translation>
    </message>
    <message>
        <source>Hide Vexilo</source>
        <translation type="vanished">Vexilo ausblenden</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>Shown</source>
        <translation>Angezeigt</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>No apps were added.</source>
        <translation>Es wurden keine Programme hinzugefügt.</translation>
    </message>
    <message>
        <source>All the applications you selected are already in Vexilo.</source>
        <translation>Alle ausgewählten Programme sind bereits in Vexilo.</translation>
    </message>
    <message>
        <source>Done!</source>
        <translation>Fertig!</translation>
    </message>
    <message>
        <source>%d apps have been added to Vexilo.</source>
        <translation>%d Programme wurden zu Vexilo hinzugefügt.</translation>
    </message>
    <message>
        <source>Are you sure you want to remove %@ from Vexilo?</source>
        <translation>Möchten Sie %@ wirklich aus Vexilo entfernen?</translation>
    </message>
    <message>
        <source>You can restore it later using &quot;Edit &gt; Show Apps&quot;.</source>
        <translation>Sie können es später über „Bearbeiten &gt; Programme anzeigen“ wiederherstellen.</translation>
    </message>
    <message>
        <source>This app has been moved or deleted.</source>
        <translation>Dieses Programm wurde verschoben oder gelöscht.</translation>
    </message>
    <message>
        <source>%@ is already open. Are you sure you want to quit it and then re-open it in %@?</source>
        <translation>%@ ist bereits geöffnet. Möchten Sie es wirklich beenden und dann auf %@ wieder öffnen?</translation>
    </message>
    <message>
        <source>Reset to default language?</source>
        <translation>Auf die Standardsprache zurücksetzen?</translation>
    </message>
    <message>
        <source>Vexilo will need to quit %@.</source>
        <translation>Vexilo muss dazu %@ beenden.</translation>
    </message>
    <message>
        <source>Always open in %@?</source>
        <translation>Immer auf %@ öffnen?</translation>
    </message>
    <message>
        <source>%@ currently opens in %@.
Vexilo will need to quit it first.</source>
        <translation>%@ öffnet sich zurzeit auf %@.
Vexilo muss es zuerst beenden.</translation>
    </message>
    <message>
        <source>%@ will always open in the system language.</source>
        <translation>%@ wird immer in der Systemsprache geöffnet.</translation>
    </message>
    <message>
        <source>%@ currently opens in %@.</source>
        <translation>%@ öffnet sich zurzeit auf %@.</translation>
    </message>
    <message>
        <source>This can be changed at any time.</source>
        <translation>Dies kann jederzeit geändert werden.</translation>
    </message>
    <message>
        <source>Thank you for using Vexilo!</source>
        <translation>Danke, dass Sie Vexilo verwenden!</translation>
    </message>
    <message>
        <source>If you&apos;re finding it useful, please do consider making a donation. It would be much appreciated, and helps with our web hosting costs.

(If you&apos;ve donated already - thank you very much!)
</source>
        <translation>Wenn Ihnen Vexilo nützlich ist, denken Sie doch über eine Spende nach. Wir würden uns sehr freuen, und sie hilft uns, die Kosten für unseren Webspace zu tragen.

(Falls Sie schon gespendet haben: vielen Dank!)
</translation>
    </message>
    <message>
        <source>Credits</source>
        <translation>Danksagung</translation>
    </message>
    <message>
        <source>Applications</source>
        <translation>Programme</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>%@ cannot be removed from Vexilo.</source>
        <translation>%@ kann nicht aus Vexilo entfernt werden.</translation>
    </message>
    <message>
        <source>This app has no bundle identifier, so Vexilo cannot hide it.</source>
        <translation>Dieses Programm hat keine Bundle-Kennung, daher kann Vexilo es nicht ausblenden.</translation>
    </message>
    <message>
        <source>%@ is not an application.</source>
        <translation>%@ ist kein Programm.</translation>
    </message>
    <message>
        <source>Choose application bundles: folders whose names end in .app and that hold a Contents/Info.plist file. Nothing was added.</source>
        <translation>Wählen Sie Programmpakete: Ordner, deren Name auf .app endet und die eine Datei Contents/Info.plist enthalten. Es wurde nichts hinzugefügt.</translation>
    </message>
    <message>
        <source>Vexilo could not save your change.</source>
        <translation>Vexilo konnte Ihre Änderung nicht speichern.</translation>
    </message>
    <message>
        <source>Nothing was changed. Check that the file %@ and its folder can be written.</source>
        <translation>Es wurde nichts geändert. Prüfen Sie, ob die Datei %@ und ihr Ordner beschreibbar sind.</translation>
    </message>
    <message>
        <source>Choose the applications Vexilo shows.</source>
        <translation>Wählen Sie die Programme, die Vexilo anzeigt.</translation>
    </message>
    <message>
        <source>The language was not changed</source>
        <translation>Die Sprache wurde nicht geändert</translation>
    </message>
    <message>
        <source>Vexilo could not change the language %@ opens in.</source>
        <translation>Vexilo konnte die Sprache, in der %@ geöffnet wird, nicht ändern.</translation>
    </message>
    <message>
        <source>%@ is set up to open by a file that Vexilo did not write:
%@
Vexilo leaves it as it is.</source>
        <translation>%@ wird durch eine Datei geöffnet, die nicht von Vexilo stammt:
%@
Vexilo lässt sie unverändert.</translation>
    </message>
    <message>
        <source>This app has no bundle identifier, so Vexilo cannot set its language.</source>
        <translation>Diese App hat keine Bundle-ID, daher kann Vexilo ihre Sprache nicht festlegen.</translation>
    </message>
    <message>
        <source>The application has no executable to start.</source>
        <translation>Das Programm hat keine ausführbare Datei zum Starten.</translation>
    </message>
    <message>
        <source>The file that sets its language could not be written.</source>
        <translation>Die Datei, die seine Sprache festlegt, konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>The program it runs is not installed.</source>
        <translation>Das Programm, das es startet, ist nicht installiert.</translation>
    </message>
    <message>
        <source>Wait until Vexilo has finished opening it.</source>
        <translation>Warten Sie, bis Vexilo sie fertig geöffnet hat.</translation>
    </message>
    <message>
        <source>%@ could not be opened.</source>
        <translation>%@ konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Currently open.</source>
        <translation>Derzeit geöffnet.</translation>
    </message>
    <message>
        <source>These folders are not applications: %@.</source>
        <translation>Diese Ordner sind keine Programme: %@.</translation>
    </message>
    <message>
        <source>Only application bundles can be added: folders whose names end in .app and that hold a Contents/Info.plist file. The other applications you selected were added.</source>
        <translation>Nur Programmpakete können hinzugefügt werden: Ordner, deren Name auf .app endet und die eine Datei Contents/Info.plist enthalten. Die anderen ausgewählten Programme wurden hinzugefügt.</translation>
    </message>
    <message>
        <source>Only application bundles can be added: folders whose names end in .app and that hold a Contents/Info.plist file. The other applications you selected are already in Vexilo.</source>
        <translation>Nur Programmpakete können hinzugefügt werden: Ordner, deren Name auf .app endet und die eine Datei Contents/Info.plist enthalten. Die anderen ausgewählten Programme sind bereits in Vexilo.</translation>
    </message>
    <message>
        <source>Add Applications</source>
        <translation>Programme hinzufügen</translation>
    </message>
    <message>
        <source>Vexilo could not open your mail program.</source>
        <translation>Vexilo konnte Ihr E-Mail-Programm nicht öffnen.</translation>
    </message>
    <message>
        <source>Please write to %@ with the mail program you use. You can copy the address from here.</source>
        <translation>Bitte schreiben Sie mit Ihrem E-Mail-Programm an %@. Sie können die Adresse hier kopieren.</translation>
    </message>
    <message>
        <source>Vexilo could not open your web browser.</source>
        <translation>Vexilo konnte Ihren Webbrowser nicht öffnen.</translation>
    </message>
    <message>
        <source>To donate, open this address in a web browser. You can copy it from here:
%@</source>
        <translation>Um zu spenden, öffnen Sie diese Adresse in einem Webbrowser. Sie können sie hier kopieren:
%@</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Add Application…</source>
        <translation>Programm &amp;hinzufügen…</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&amp;Quit Vexilo</source>
        <translation>Vexilo &amp;beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Show Apps</source>
        <translation>Programme &amp;anzeigen</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Fenster</translation>
    </message>
    <message>
        <source>&amp;Minimize</source>
        <translation>&amp;Minimieren</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Vexilo &amp;Help</source>
        <translation>Vexilo-&amp;Hilfe</translation>
    </message>
    <message>
        <source>Send &amp;Feedback…</source>
        <translation>&amp;Feedback senden…</translation>
    </message>
    <message>
        <source>&amp;Donate…</source>
        <translation>&amp;Spenden…</translation>
    </message>
    <message>
        <source>&amp;About Vexilo</source>
        <translation>Ü&amp;ber Vexilo</translation>
    </message>
    <message>
        <source>&amp;Donate Now</source>
        <translation>Jetzt &amp;spenden</translation>
    </message>
    <message>
        <source>&amp;Not yet</source>
        <translation>&amp;Noch nicht</translation>
    </message>
    <message>
        <source>Unknown command: %@</source>
        <translation>Unbekannter Befehl: %@</translation>
    </message>
    <message>
        <source>Unknown option: %@</source>
        <translation>Unbekannte Option: %@</translation>
    </message>
    <message>
        <source>Wrong number of arguments.</source>
        <translation>Falsche Anzahl von Argumenten.</translation>
    </message>
    <message>
        <source>Usage: vexilo list [--json | --quiet]
Lists the applications: name, identifier and number of languages, hidden ones marked.
  --json   as JSON
  --quiet  the identifiers and names of the applications shown, one a line
</source>
        <translation>Aufruf: vexilo list [--json | --quiet]
Listet die Programme: Name, Kennung und Anzahl der Sprachen, ausgeblendete markiert.
  --json   als JSON
  --quiet  Kennungen und Namen der angezeigten Programme, eines pro Zeile
</translation>
    </message>
    <message>
        <source>Usage: vexilo languages APP [--json | --quiet]
Lists the languages of APP: code and name, the stored one marked *.
  --json   as JSON
  --quiet  the codes only
</source>
        <translation>Aufruf: vexilo languages APP [--json | --quiet]
Listet die Sprachen von APP: Code und Name, die gespeicherte mit * markiert.
  --json   als JSON
  --quiet  nur die Codes
</translation>
    </message>
    <message>
        <source>Usage: vexilo launch APP LANG [--restart]
Opens APP once in LANG.
  --restart  quit a running copy first (else it is refused, status 3)
</source>
        <translation>Aufruf: vexilo launch APP SPRACHE [--restart]
Öffnet APP einmal in SPRACHE.
  --restart  eine laufende Kopie zuerst beenden (sonst abgelehnt, Status 3)
</translation>
    </message>
    <message>
        <source>Usage: vexilo always APP LANG [--restart]
       vexilo always APP --reset [--restart]
Makes APP always open in LANG, or in the system language again.
  --restart  quit a running copy first and open it again (else it is refused, status 3)
</source>
        <translation>Aufruf: vexilo always APP SPRACHE [--restart]
        vexilo always APP --reset [--restart]
Öffnet APP immer in SPRACHE oder wieder in der Systemsprache.
  --restart  eine laufende Kopie zuerst beenden und wieder öffnen (sonst abgelehnt, Status 3)
</translation>
    </message>
    <message>
        <source>Usage: vexilo running APP [--json]
Names the language of each running copy of APP.
  --json   as JSON
</source>
        <translation>Aufruf: vexilo running APP [--json]
Nennt die Sprache jeder laufenden Kopie von APP.
  --json   als JSON
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
        <translation>Aufruf: vexilo [BEFEHL [ARGUMENTE]]
Ohne Befehl öffnet sich das Fenster.
  list                   die Programme
  languages APP          die Sprachen eines Programms
  launch APP SPRACHE     einmal in einer Sprache öffnen
  always APP SPRACHE|--reset  immer in einer Sprache öffnen, oder nicht mehr
  running APP            die Sprache seiner laufenden Kopien
APP: ein Name, eine Kennung, eine Desktop-Datei-ID oder der Pfad eines Bundles. SPRACHE: ein Code oder ein Sprachname.
Exit-Status: 0 erledigt, 1 Fehler, 2 falscher Aufruf, 3 abgelehnt, weil es läuft, 4 abgelehnt: seine Sprache lässt sich nicht festlegen.
vexilo BEFEHL --help beschreibt jeden Befehl.
</translation>
    </message>
    <message>
        <source>Several applications match “%@”:</source>
        <translation>Mehrere Programme passen zu „%@“:</translation>
    </message>
    <message>
        <source>No application matches “%@”.</source>
        <translation>Kein Programm passt zu „%@“.</translation>
    </message>
    <message>
        <source>%@ has no language “%@”. Its languages: %@</source>
        <translation>%@ hat keine Sprache „%@“. Seine Sprachen: %@</translation>
    </message>
    <message>
        <source>%@ is already open. Give --restart to quit it first.</source>
        <translation>%@ ist bereits geöffnet. Geben Sie --restart an, um es zuerst zu beenden.</translation>
    </message>
    <message>
        <source>hidden</source>
        <translation>ausgeblendet</translation>
    </message>
    <message>
        <source>%@ is not running.</source>
        <translation>%@ läuft nicht.</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
</context>
</TS>
