<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>Vexilo</name>
    <message>
        <source>Always open in this language</source>
        <translation>Toujours ouvrir dans cette langue</translation>
    </message>
    <message>
        <source>Available in %d different languages.</source>
        <translation>Disponible en %d langues différentes.</translation>
    </message>
    <message>
        <source>Only available in %@.</source>
        <translation>Disponible uniquement en %@.</translation>
    </message>
    <message>
        <source>(Unable to determine available languages)</source>
        <translation>(Impossible de déterminer les langues disponibles)</translation>
    </message>
    <message>
        <source>Currently open in %@.</source>
        <translation>Actuellement ouvert en %@.</translation>
    </message>
    <message>
        <source>Launch</source>
        <translation>Lancer</translation>
    </message>
    <message>
        <source>Launching…</source>
        <translation type="vanished">Lancement…</translation>
    </message>
    <message>
        <source>Launching...</source>
        <translation>Lancement…</translation>
    </message>
    <message>
        <source>Quit?</source>
        <translation>Quitter&#xa0;?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="vanished">OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Loading applications…</source>
        <translation>Chargement des applications…</translation>
    </message>
    <message>
        <source>No Results Found</source>
        <translation>Aucun résultat</translation>
    </message>
    <message>
        <source>About Vexilo</source>
        <translation>À propos de Vexilo</translation>
    </message>
    <message>
        <source>Vexilo Help</source>
        <translation>Aide de Vexilo</translation>
    </message>
    <message>
        <source>Show Apps</source>
        <translation>Afficher les applications</translation>
    </message>
    <message>
        <source>Hide Vexilo</source>
        <translation type="vanished">Masquer Vexilo</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>Application</translation>
    </message>
    <message>
        <source>Shown</source>
        <translation>Affichée</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>No apps were added.</source>
        <translation>Aucune application n’a été ajoutée.</translation>
    </message>
    <message>
        <source>All the applications you selected are already in Vexilo.</source>
        <translation>Toutes les applications choisies figurent déjà dans Vexilo.</translation>
    </message>
    <message>
        <source>Done!</source>
        <translation>Terminé&#xa0;!</translation>
    </message>
    <message>
        <source>%d apps have been added to Vexilo.</source>
        <translation>%d applications ont été ajoutées à Vexilo.</translation>
    </message>
    <message>
        <source>Are you sure you want to remove %@ from Vexilo?</source>
        <translation>Voulez-vous vraiment retirer %@ de Vexilo&#xa0;?</translation>
    </message>
    <message>
        <source>You can restore it later using &quot;Edit &gt; Show Apps&quot;.</source>
        <translation>Vous pourrez la rétablir plus tard avec «&#xa0;Édition &gt; Afficher les applications&#xa0;».</translation>
    </message>
    <message>
        <source>This app has been moved or deleted.</source>
        <translation>Cette application a été déplacée ou supprimée.</translation>
    </message>
    <message>
        <source>%@ is already open. Are you sure you want to quit it and then re-open it in %@?</source>
        <translation>%@ est déjà ouvert. Voulez-vous vraiment le quitter puis le rouvrir en %@&#xa0;?</translation>
    </message>
    <message>
        <source>Reset to default language?</source>
        <translation>Revenir à la langue par défaut&#xa0;?</translation>
    </message>
    <message>
        <source>Vexilo will need to quit %@.</source>
        <translation>Vexilo devra quitter %@.</translation>
    </message>
    <message>
        <source>Always open in %@?</source>
        <translation>Toujours ouvrir en %@&#xa0;?</translation>
    </message>
    <message>
        <source>%@ currently opens in %@.
Vexilo will need to quit it first.</source>
        <translation>%@ s’ouvre actuellement en %@.
Vexilo devra d’abord le quitter.</translation>
    </message>
    <message>
        <source>%@ will always open in the system language.</source>
        <translation>%@ s’ouvrira toujours dans la langue du système.</translation>
    </message>
    <message>
        <source>%@ currently opens in %@.</source>
        <translation>%@ s’ouvre actuellement en %@.</translation>
    </message>
    <message>
        <source>This can be changed at any time.</source>
        <translation>Vous pourrez modifier ce réglage à tout moment.</translation>
    </message>
    <message>
        <source>Thank you for using Vexilo!</source>
        <translation>Merci d’utiliser Vexilo&#xa0;!</translation>
    </message>
    <message>
        <source>If you&apos;re finding it useful, please do consider making a donation. It would be much appreciated, and helps with our web hosting costs.

(If you&apos;ve donated already - thank you very much!)
</source>
        <translation>Si Vexilo vous est utile, pensez à faire un don. Ce geste serait très apprécié et nous aide à payer l’hébergement de notre site.

(Si vous avez déjà fait un don, merci beaucoup&#xa0;!)
</translation>
    </message>
    <message>
        <source>Credits</source>
        <translation>Crédits</translation>
    </message>
    <message>
        <source>Applications</source>
        <translation>Applications</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>%@ cannot be removed from Vexilo.</source>
        <translation>%@ ne peut pas être retirée de Vexilo.</translation>
    </message>
    <message>
        <source>This app has no bundle identifier, so Vexilo cannot hide it.</source>
        <translation>Cette application n’a pas d’identifiant de paquet&#xa0;: Vexilo ne peut pas la masquer.</translation>
    </message>
    <message>
        <source>%@ is not an application.</source>
        <translation>%@ n’est pas une application.</translation>
    </message>
    <message>
        <source>Choose application bundles: folders whose names end in .app and that hold a Contents/Info.plist file. Nothing was added.</source>
        <translation>Choisissez des paquets d’applications&#xa0;: des dossiers dont le nom se termine par .app et qui contiennent un fichier Contents/Info.plist. Rien n’a été ajouté.</translation>
    </message>
    <message>
        <source>Vexilo could not save your change.</source>
        <translation>Vexilo n’a pas pu enregistrer votre modification.</translation>
    </message>
    <message>
        <source>Nothing was changed. Check that the file %@ and its folder can be written.</source>
        <translation>Rien n’a été modifié. Vérifiez que le fichier %@ et son dossier sont accessibles en écriture.</translation>
    </message>
    <message>
        <source>Choose the applications Vexilo shows.</source>
        <translation>Choisissez les applications que Vexilo affiche.</translation>
    </message>
    <message>
        <source>The language was not changed</source>
        <translation>La langue n’a pas été changée</translation>
    </message>
    <message>
        <source>Vexilo could not change the language %@ opens in.</source>
        <translation>Vexilo n’a pas pu changer la langue dans laquelle %@ s’ouvre.</translation>
    </message>
    <message>
        <source>%@ is set up to open by a file that Vexilo did not write:
%@
Vexilo leaves it as it is.</source>
        <translation>%@ est configuré pour s’ouvrir par un fichier que Vexilo n’a pas écrit :
%@
Vexilo le laisse tel quel.</translation>
    </message>
    <message>
        <source>This app has no bundle identifier, so Vexilo cannot set its language.</source>
        <translation>Cette app n’a pas d’identifiant de paquet : Vexilo ne peut pas choisir sa langue.</translation>
    </message>
    <message>
        <source>The application has no executable to start.</source>
        <translation>L’application n’a pas d’exécutable à lancer.</translation>
    </message>
    <message>
        <source>The file that sets its language could not be written.</source>
        <translation>Le fichier qui règle sa langue n’a pas pu être écrit.</translation>
    </message>
    <message>
        <source>The program it runs is not installed.</source>
        <translation>Le programme qu’elle lance n’est pas installé.</translation>
    </message>
    <message>
        <source>Wait until Vexilo has finished opening it.</source>
        <translation>Attendez que Vexilo ait fini de l’ouvrir.</translation>
    </message>
    <message>
        <source>%@ could not be opened.</source>
        <translation>Impossible d’ouvrir %@.</translation>
    </message>
    <message>
        <source>Currently open.</source>
        <translation>Actuellement ouverte.</translation>
    </message>
    <message>
        <source>These folders are not applications: %@.</source>
        <translation>Ces dossiers ne sont pas des applications&#xa0;: %@.</translation>
    </message>
    <message>
        <source>Only application bundles can be added: folders whose names end in .app and that hold a Contents/Info.plist file. The other applications you selected were added.</source>
        <translation>Seuls des paquets d’applications peuvent être ajoutés&#xa0;: des dossiers dont le nom se termine par .app et qui contiennent un fichier Contents/Info.plist. Les autres applications choisies ont été ajoutées.</translation>
    </message>
    <message>
        <source>Only application bundles can be added: folders whose names end in .app and that hold a Contents/Info.plist file. The other applications you selected are already in Vexilo.</source>
        <translation>Seuls des paquets d’applications peuvent être ajoutés&#xa0;: des dossiers dont le nom se termine par .app et qui contiennent un fichier Contents/Info.plist. Les autres applications choisies figurent déjà dans Vexilo.</translation>
    </message>
    <message>
        <source>Add Applications</source>
        <translation>Ajouter des applications</translation>
    </message>
    <message>
        <source>Vexilo could not open your mail program.</source>
        <translation>Vexilo n’a pas pu ouvrir votre logiciel de messagerie.</translation>
    </message>
    <message>
        <source>Please write to %@ with the mail program you use. You can copy the address from here.</source>
        <translation>Écrivez à %@ avec le logiciel de messagerie que vous utilisez. Vous pouvez copier l’adresse ici.</translation>
    </message>
    <message>
        <source>Vexilo could not open your web browser.</source>
        <translation>Vexilo n’a pas pu ouvrir votre navigateur web.</translation>
    </message>
    <message>
        <source>To donate, open this address in a web browser. You can copy it from here:
%@</source>
        <translation>Pour faire un don, ouvrez cette adresse dans un navigateur web. Vous pouvez la copier ici :
%@</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Retirer</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Add Application…</source>
        <translation>&amp;Ajouter une application…</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>&amp;Quit Vexilo</source>
        <translation>&amp;Quitter Vexilo</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>&amp;Show Apps</source>
        <translation>&amp;Afficher les applications</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>Fe&amp;nêtre</translation>
    </message>
    <message>
        <source>&amp;Minimize</source>
        <translation>&amp;Réduire</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>Vexilo &amp;Help</source>
        <translation>&amp;Aide de Vexilo</translation>
    </message>
    <message>
        <source>Send &amp;Feedback…</source>
        <translation>&amp;Envoyer un commentaire…</translation>
    </message>
    <message>
        <source>&amp;Donate…</source>
        <translation>Faire un &amp;don…</translation>
    </message>
    <message>
        <source>&amp;About Vexilo</source>
        <translation>À &amp;propos de Vexilo</translation>
    </message>
    <message>
        <source>&amp;Donate Now</source>
        <translation>&amp;Faire un don</translation>
    </message>
    <message>
        <source>&amp;Not yet</source>
        <translation>&amp;Pas maintenant</translation>
    </message>
    <message>
        <source>Unknown command: %@</source>
        <translation>Commande inconnue&#xa0;: %@</translation>
    </message>
    <message>
        <source>Unknown option: %@</source>
        <translation>Option inconnue&#xa0;: %@</translation>
    </message>
    <message>
        <source>Wrong number of arguments.</source>
        <translation>Nombre d’arguments incorrect.</translation>
    </message>
    <message>
        <source>Usage: vexilo list [--json | --quiet]
Lists the applications: name, identifier and number of languages, hidden ones marked.
  --json   as JSON
  --quiet  the identifiers and names of the applications shown, one a line
</source>
        <translation>Utilisation&#xa0;: vexilo list [--json | --quiet]
Affiche les applications&#xa0;: nom, identifiant et nombre de langues, les masquées signalées.
  --json   en JSON
  --quiet  les identifiants et noms des applications affichées, un par ligne
</translation>
    </message>
    <message>
        <source>Usage: vexilo languages APP [--json | --quiet]
Lists the languages of APP: code and name, the stored one marked *.
  --json   as JSON
  --quiet  the codes only
</source>
        <translation>Utilisation&#xa0;: vexilo languages APP [--json | --quiet]
Affiche les langues d’APP&#xa0;: code et nom, la langue enregistrée marquée *.
  --json   en JSON
  --quiet  les codes seulement
</translation>
    </message>
    <message>
        <source>Usage: vexilo launch APP LANG [--restart]
Opens APP once in LANG.
  --restart  quit a running copy first (else it is refused, status 3)
</source>
        <translation>Utilisation&#xa0;: vexilo launch APP LANGUE [--restart]
Ouvre APP une fois en LANGUE.
  --restart  quitter d’abord une copie ouverte (sinon refus, statut 3)
</translation>
    </message>
    <message>
        <source>Usage: vexilo always APP LANG [--restart]
       vexilo always APP --reset [--restart]
Makes APP always open in LANG, or in the system language again.
  --restart  quit a running copy first and open it again (else it is refused, status 3)
</source>
        <translation>Utilisation&#xa0;: vexilo always APP LANGUE [--restart]
             vexilo always APP --reset [--restart]
Ouvre toujours APP en LANGUE, ou de nouveau dans la langue du système.
  --restart  quitter d’abord une copie ouverte et la rouvrir (sinon refus, statut 3)
</translation>
    </message>
    <message>
        <source>Usage: vexilo running APP [--json]
Names the language of each running copy of APP.
  --json   as JSON
</source>
        <translation>Utilisation&#xa0;: vexilo running APP [--json]
Indique la langue de chaque copie ouverte d’APP.
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
        <translation>Utilisation&#xa0;: vexilo [COMMANDE [ARGUMENTS]]
Sans commande, ouvre la fenêtre.
  list                   les applications
  languages APP          les langues d’une application
  launch APP LANGUE      l’ouvrir une fois dans une langue
  always APP LANGUE|--reset  toujours l’ouvrir dans une langue, ou plus
  running APP            la langue de ses copies ouvertes
APP&#xa0;: un nom, un identifiant, un ID de fichier desktop ou le chemin d’un paquet. LANGUE&#xa0;: un code ou un nom de langue.
Statut de sortie&#xa0;: 0 fait, 1 erreur, 2 mauvaise utilisation, 3 refusé car ouverte, 4 refusé&#xa0;: sa langue ne peut être définie.
vexilo COMMANDE --help décrit chaque commande.
</translation>
    </message>
    <message>
        <source>Several applications match “%@”:</source>
        <translation>Plusieurs applications correspondent à «&#xa0;%@&#xa0;»&#xa0;:</translation>
    </message>
    <message>
        <source>No application matches “%@”.</source>
        <translation>Aucune application ne correspond à «&#xa0;%@&#xa0;».</translation>
    </message>
    <message>
        <source>%@ has no language “%@”. Its languages: %@</source>
        <translation>%@ n’a pas de langue «&#xa0;%@&#xa0;». Ses langues&#xa0;: %@</translation>
    </message>
    <message>
        <source>%@ is already open. Give --restart to quit it first.</source>
        <translation>%@ est déjà ouvert. Donnez --restart pour le quitter d’abord.</translation>
    </message>
    <message>
        <source>hidden</source>
        <translation>masquée</translation>
    </message>
    <message>
        <source>%@ is not running.</source>
        <translation>%@ n’est pas ouvert.</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>inconnue</translation>
    </message>
</context>
</TS>
