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
</context>
</TS>
