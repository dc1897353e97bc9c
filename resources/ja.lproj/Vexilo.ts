<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Vexilo</name>
    <message>
        <source>Always open in this language</source>
        <translation>常にこの言語で開く</translation>
    </message>
    <message>
        <source>Available in %d different languages.</source>
        <translation>%d 言語に対応しています。</translation>
    </message>
    <message>
        <source>Only available in %@.</source>
        <translation>%@のみに対応しています。</translation>
    </message>
    <message>
        <source>(Unable to determine available languages)</source>
        <translation>（対応言語を特定できません）</translation>
    </message>
    <message>
        <source>Currently open in %@.</source>
        <translation>現在%@で開いています。</translation>
    </message>
    <message>
        <source>Launch</source>
        <translation>起動</translation>
    </message>
    <message>
        <source>Launching…</source>
        <translation type="vanished">起動中…</translation>
    </message>
    <message>
        <source>Launching...</source>
        <translation>起動中…</translation>
    </message>
    <message>
        <source>Quit?</source>
        <translation>終了しますか？</translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="vanished">OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Loading applications…</source>
        <translation>アプリケーションを読み込み中…</translation>
    </message>
    <message>
        <source>No Results Found</source>
        <translation>見つかりませんでした</translation>
    </message>
    <message>
        <source>About Vexilo</source>
        <translation>Vexilo について</translation>
    </message>
    <message>
        <source>Vexilo Help</source>
        <translation>Vexilo ヘルプ</translation>
    </message>
    <message>
        <source>Show Apps</source>
        <translation>アプリケーションを表示</translation>
    </message>
    <message>
        <source>Hide Vexilo</source>
        <translation type="vanished">Vexilo を隠す</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>アプリケーション</translation>
    </message>
    <message>
        <source>Shown</source>
        <translation>表示</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>追加</translation>
    </message>
    <message>
        <source>No apps were added.</source>
        <translation>アプリケーションは追加されませんでした。</translation>
    </message>
    <message>
        <source>All the applications you selected are already in Vexilo.</source>
        <translation>選択したアプリケーションはすべて Vexilo に登録済みです。</translation>
    </message>
    <message>
        <source>Done!</source>
        <translation>完了しました！</translation>
    </message>
    <message>
        <source>%d apps have been added to Vexilo.</source>
        <translation>%d 個のアプリケーションを Vexilo に追加しました。</translation>
    </message>
    <message>
        <source>Are you sure you want to remove %@ from Vexilo?</source>
        <translation>%@ を Vexilo から取り除いてもよろしいですか？</translation>
    </message>
    <message>
        <source>You can restore it later using &quot;Edit &gt; Show Apps&quot;.</source>
        <translation>あとで「編集 &gt; アプリケーションを表示」から元に戻せます。</translation>
    </message>
    <message>
        <source>This app has been moved or deleted.</source>
        <translation>このアプリケーションは移動または削除されています。</translation>
    </message>
    <message>
        <source>%@ is already open. Are you sure you want to quit it and then re-open it in %@?</source>
        <translation>%@ はすでに開いています。終了して%@で開き直してもよろしいですか？</translation>
    </message>
    <message>
        <source>Reset to default language?</source>
        <translation>デフォルトの言語に戻しますか？</translation>
    </message>
    <message>
        <source>Vexilo will need to quit %@.</source>
        <translation>Vexilo は %@ を終了する必要があります。</translation>
    </message>
    <message>
        <source>Always open in %@?</source>
        <translation>常に%@で開きますか？</translation>
    </message>
    <message>
        <source>%@ currently opens in %@.
Vexilo will need to quit it first.</source>
        <translation>%@ は現在%@で開きます。
Vexilo は先にこのアプリケーションを終了する必要があります。</translation>
    </message>
    <message>
        <source>%@ will always open in the system language.</source>
        <translation>%@ は常にシステムの言語で開きます。</translation>
    </message>
    <message>
        <source>%@ currently opens in %@.</source>
        <translation>%@ は現在%@で開きます。</translation>
    </message>
    <message>
        <source>This can be changed at any time.</source>
        <translation>この設定はいつでも変更できます。</translation>
    </message>
    <message>
        <source>Thank you for using Vexilo!</source>
        <translation>Vexilo をご利用いただきありがとうございます！</translation>
    </message>
    <message>
        <source>If you&apos;re finding it useful, please do consider making a donation. It would be much appreciated, and helps with our web hosting costs.

(If you&apos;ve donated already - thank you very much!)
</source>
        <translation>Vexilo がお役に立っているなら、ぜひ寄付をご検討ください。とてもありがたく、Web サイトの運営費の助けにもなります。

（すでに寄付してくださった方、本当にありがとうございます！）
</translation>
    </message>
    <message>
        <source>Credits</source>
        <translation>クレジット</translation>
    </message>
    <message>
        <source>Applications</source>
        <translation>アプリケーション</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>言語</translation>
    </message>
    <message>
        <source>%@ cannot be removed from Vexilo.</source>
        <translation>%@ は Vexilo から取り除けません。</translation>
    </message>
    <message>
        <source>This app has no bundle identifier, so Vexilo cannot hide it.</source>
        <translation>このアプリケーションにはバンドル識別子がないため、Vexilo では非表示にできません。</translation>
    </message>
    <message>
        <source>%@ is not an application.</source>
        <translation>%@ はアプリケーションではありません。</translation>
    </message>
    <message>
        <source>Choose application bundles: folders whose names end in .app and that hold a Contents/Info.plist file. Nothing was added.</source>
        <translation>アプリケーションバンドル（名前が .app で終わり、Contents/Info.plist ファイルを含むフォルダ）を選択してください。何も追加されませんでした。</translation>
    </message>
    <message>
        <source>Vexilo could not save your change.</source>
        <translation>Vexilo は変更を保存できませんでした。</translation>
    </message>
    <message>
        <source>Nothing was changed. Check that the file %@ and its folder can be written.</source>
        <translation>何も変更されていません。ファイル %@ とそのフォルダに書き込めるか確認してください。</translation>
    </message>
    <message>
        <source>Choose the applications Vexilo shows.</source>
        <translation>Vexilo に表示するアプリケーションを選択してください。</translation>
    </message>
    <message>
        <source>The language was not changed</source>
        <translation>言語は変更されませんでした</translation>
    </message>
    <message>
        <source>Vexilo could not change the language %@ opens in.</source>
        <translation>Vexilo は %@ を開く言語を変更できませんでした。</translation>
    </message>
    <message>
        <source>%@ is set up to open by a file that Vexilo did not write:
%@
Vexilo leaves it as it is.</source>
        <translation>%@ は Vexilo が書いていないファイルで開くように設定されています:
%@
Vexilo はそのままにします。</translation>
    </message>
    <message>
        <source>This app has no bundle identifier, so Vexilo cannot set its language.</source>
        <translation>このアプリにはバンドル識別子がないため、Vexilo は言語を設定できません。</translation>
    </message>
    <message>
        <source>The application has no executable to start.</source>
        <translation>このアプリケーションには起動できる実行ファイルがありません。</translation>
    </message>
    <message>
        <source>The file that sets its language could not be written.</source>
        <translation>言語を設定するファイルを書き込めませんでした。</translation>
    </message>
    <message>
        <source>The program it runs is not installed.</source>
        <translation>実行するプログラムがインストールされていません。</translation>
    </message>
    <message>
        <source>Wait until Vexilo has finished opening it.</source>
        <translation>Vexilo が開き終わるまでお待ちください。</translation>
    </message>
    <message>
        <source>%@ could not be opened.</source>
        <translation>%@ を開けませんでした。</translation>
    </message>
    <message>
        <source>Currently open.</source>
        <translation>現在開いています。</translation>
    </message>
    <message>
        <source>These folders are not applications: %@.</source>
        <translation>次のフォルダはアプリケーションではありません：%@。</translation>
    </message>
    <message>
        <source>Only application bundles can be added: folders whose names end in .app and that hold a Contents/Info.plist file. The other applications you selected were added.</source>
        <translation>追加できるのはアプリケーションバンドル（名前が .app で終わり、Contents/Info.plist ファイルを含むフォルダ）だけです。選択したほかのアプリケーションは追加されました。</translation>
    </message>
    <message>
        <source>Only application bundles can be added: folders whose names end in .app and that hold a Contents/Info.plist file. The other applications you selected are already in Vexilo.</source>
        <translation>追加できるのはアプリケーションバンドル（名前が .app で終わり、Contents/Info.plist ファイルを含むフォルダ）だけです。選択したほかのアプリケーションは Vexilo に登録済みです。</translation>
    </message>
    <message>
        <source>Add Applications</source>
        <translation>アプリケーションを追加</translation>
    </message>
    <message>
        <source>Vexilo could not open your mail program.</source>
        <translation>Vexilo はメールプログラムを開けませんでした。</translation>
    </message>
    <message>
        <source>Please write to %@ with the mail program you use. You can copy the address from here.</source>
        <translation>お使いのメールプログラムで %@ 宛てにお送りください。アドレスはここからコピーできます。</translation>
    </message>
    <message>
        <source>Vexilo could not open your web browser.</source>
        <translation>Vexilo は Web ブラウザを開けませんでした。</translation>
    </message>
    <message>
        <source>To donate, open this address in a web browser. You can copy it from here:
%@</source>
        <translation>寄付するには、このアドレスを Web ブラウザで開いてください。ここからコピーできます:
%@</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>取り除く(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Add Application…</source>
        <translation>アプリケーションを追加(&amp;A)…</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>閉じる(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Quit Vexilo</source>
        <translation>Vexilo を終了(&amp;Q)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Show Apps</source>
        <translation>アプリケーションを表示(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>ウインドウ(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;Minimize</source>
        <translation>最小化(&amp;M)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>Vexilo &amp;Help</source>
        <translation>Vexilo ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>Send &amp;Feedback…</source>
        <translation>フィードバックを送信(&amp;F)…</translation>
    </message>
    <message>
        <source>&amp;Donate…</source>
        <translation>寄付(&amp;D)…</translation>
    </message>
    <message>
        <source>&amp;About Vexilo</source>
        <translation>Vexilo について(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Donate Now</source>
        <translation>今すぐ寄付(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Not yet</source>
        <translation>今はしない(&amp;N)</translation>
    </message>
    <message>
        <source>Unknown command: %@</source>
        <translation>不明なコマンド: %@</translation>
    </message>
    <message>
        <source>Unknown option: %@</source>
        <translation>不明なオプション: %@</translation>
    </message>
    <message>
        <source>Wrong number of arguments.</source>
        <translation>引数の数が正しくありません。</translation>
    </message>
    <message>
        <source>Usage: vexilo list [--json | --quiet]
Lists the applications: name, identifier and number of languages, hidden ones marked.
  --json   as JSON
  --quiet  the identifiers and names of the applications shown, one a line
</source>
        <translation>使い方: vexilo list [--json | --quiet]
アプリケーションを一覧表示します: 名前、識別子、言語の数。非表示のものには印が付きます。
  --json   JSON で出力
  --quiet  表示されているアプリケーションの識別子と名前を 1 行に 1 つ
</translation>
    </message>
    <message>
        <source>Usage: vexilo languages APP [--json | --quiet]
Lists the languages of APP: code and name, the stored one marked *.
  --json   as JSON
  --quiet  the codes only
</source>
        <translation>使い方: vexilo languages APP [--json | --quiet]
APP の言語を一覧表示します: コードと名前。保存された言語には * が付きます。
  --json   JSON で出力
  --quiet  コードのみ
</translation>
    </message>
    <message>
        <source>Usage: vexilo launch APP LANG [--restart]
Opens APP once in LANG.
  --restart  quit a running copy first (else it is refused, status 3)
</source>
        <translation>使い方: vexilo launch APP 言語 [--restart]
APP を一度だけ指定の言語で開きます。
  --restart  実行中のコピーを先に終了します (指定しないと拒否、ステータス 3)
</translation>
    </message>
    <message>
        <source>Usage: vexilo always APP LANG [--restart]
       vexilo always APP --reset [--restart]
Makes APP always open in LANG, or in the system language again.
  --restart  quit a running copy first and open it again (else it is refused, status 3)
</source>
        <translation>使い方: vexilo always APP 言語 [--restart]
        vexilo always APP --reset [--restart]
APP を常に指定の言語で開くか、システムの言語に戻します。
  --restart  実行中のコピーを先に終了して再び開きます (指定しないと拒否、ステータス 3)
</translation>
    </message>
    <message>
        <source>Usage: vexilo running APP [--json]
Names the language of each running copy of APP.
  --json   as JSON
</source>
        <translation>使い方: vexilo running APP [--json]
APP の実行中の各コピーの言語を示します。
  --json   JSON で出力
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
        <translation>使い方: vexilo [コマンド [引数]]
コマンドなしではウインドウを開きます。
  list                   アプリケーション
  languages APP          アプリケーションの言語
  launch APP 言語        一度だけその言語で開く
  always APP 言語|--reset  常にその言語で開く、または戻す
  running APP            実行中のコピーの言語
APP: 名前、識別子、デスクトップファイル ID、またはバンドルのパス。言語: コードまたは言語名。
終了ステータス: 0 完了、1 エラー、2 使い方の誤り、3 実行中のため拒否、4 拒否: 言語を設定できません。
vexilo コマンド --help で各コマンドの説明を表示します。
</translation>
    </message>
    <message>
        <source>Several applications match “%@”:</source>
        <translation>「%@」に一致するアプリケーションが複数あります:</translation>
    </message>
    <message>
        <source>No application matches “%@”.</source>
        <translation>「%@」に一致するアプリケーションはありません。</translation>
    </message>
    <message>
        <source>%@ has no language “%@”. Its languages: %@</source>
        <translation>%@ には言語「%@」がありません。使用できる言語: %@</translation>
    </message>
    <message>
        <source>%@ is already open. Give --restart to quit it first.</source>
        <translation>%@ はすでに開いています。先に終了するには --restart を指定してください。</translation>
    </message>
    <message>
        <source>hidden</source>
        <translation>非表示</translation>
    </message>
    <message>
        <source>%@ is not running.</source>
        <translation>%@ は実行されていません。</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>不明</translation>
    </message>
</context>
</TS>
