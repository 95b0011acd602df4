<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en" sourcelanguage="ja_JP">
<context>
    <name>CanvasEditor</name>
    <message>
        <source>描画</source>
        <translation>Painting</translation>
    </message>
    <message>
        <source>塗りつぶし</source>
        <translation>Fill</translation>
    </message>
    <message>
        <source>直線</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>四角</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>楕円</source>
        <translation>Ellipse</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>消去</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>貼り付け</source>
        <translation>Paste</translation>
    </message>
</context>
<context>
    <name>ColourMode</name>
    <message>
        <source>白以外の色はすべて黒になります。カラーをやめますか？</source>
        <translation>Every colour but white becomes black. Turn colour off?</translation>
    </message>
    <message>
        <source>はい</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation>No</translation>
    </message>
    <message>
        <source>カラーをやめる</source>
        <translation>Turn colour off</translation>
    </message>
</context>
<context>
    <name>FileKeeper</name>
    <message>
        <source>絵</source>
        <translation>picture</translation>
    </message>
    <message>
        <source>「%1」は既に存在します。上書きしますか？</source>
        <translation>“%1” already exists. Replace it?</translation>
    </message>
    <message>
        <source>はい</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation>No</translation>
    </message>
    <message>
        <source>「%1」が見つかりません。</source>
        <translation>“%1” cannot be found.</translation>
    </message>
    <message>
        <source>「%1」はフォルダーです。ファイルを指定してください。</source>
        <translation>“%1” is a folder. Choose a file.</translation>
    </message>
    <message>
        <source>「%1」を読む権限がありません。</source>
        <translation>You are not allowed to read “%1”.</translation>
    </message>
    <message>
        <source>「%1」は普通のファイルではないため開けません。</source>
        <translation>“%1” is not an ordinary file and cannot be opened.</translation>
    </message>
    <message>
        <source>「%1」を開けませんでした。</source>
        <translation>“%1” could not be opened.</translation>
    </message>
    <message>
        <source>絵を開く</source>
        <translation>Open a picture</translation>
    </message>
    <message>
        <source>「%1」を開けませんでした。このファイルは絵のテキストでも画像でもありません。</source>
        <translation>“%1” could not be opened. The file is neither a picture's text nor an image.</translation>
    </message>
    <message>
        <source>前回の絵のファイルが読めませんでした。
%1</source>
        <translation>The last picture's file could not be read.
%1</translation>
    </message>
    <message>
        <source>前回の絵はありません。</source>
        <translation>There is no last picture.</translation>
    </message>
    <message>
        <source>前回の絵を開く</source>
        <translation>Open the last picture</translation>
    </message>
    <message>
        <source>前回の絵の控えが %1 個読めなかったため、復元せずに次のフォルダーへ移しました。
%2</source>
        <translation>%1 recovery copies of earlier pictures could not be read; they were moved, not restored, to this folder:
%2</translation>
    </message>
    <message>
        <source>前回の絵の控えが %1 個読めませんでした。別のフォルダーへ移すこともできなかったため、そのままにしてあります。
%2</source>
        <translation>%1 recovery copies of earlier pictures could not be read, nor moved to another folder; they were left where they are:
%2</translation>
    </message>
    <message>
        <source>前回、保存されずに終わった絵があります。復元しますか？</source>
        <translation>The program ended last time with a picture that was not saved. Restore it?</translation>
    </message>
    <message>
        <source>前回の絵の復元</source>
        <translation>Restore the last picture</translation>
    </message>
    <message>
        <source>描いている絵の控えを保存できません（%1）。このまま異常終了すると、絵が失われます。保存先のディスクの空きと、フォルダーに書き込めるかどうかを確かめてください。</source>
        <translation>The recovery copy of your picture cannot be saved (%1). If the program ends abnormally now, the picture is lost. Check that the disk has space and that the folder can be written to.</translation>
    </message>
</context>
<context>
    <name>Functions</name>
    <message>
        <source>ピクチャーファイル(*.BMP;*.JPG;*.GIF)</source>
        <translation>Picture files (*.BMP;*.JPG;*.GIF)</translation>
    </message>
    <message>
        <source>全てのﾌｧｲﾙ(*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>テキスト (*.txt)</source>
        <translation>Text (*.txt)</translation>
    </message>
    <message>
        <source>画像 (*.png)</source>
        <translation>Image (*.png)</translation>
    </message>
    <message>
        <source>絵のテキストと画像 (*.txt;*.png)</source>
        <translation>Pictures as text and images (*.txt;*.png)</translation>
    </message>
</context>
<context>
    <name>PictureRequests</name>
    <message>
        <source>「%1」は画像が大きすぎるため読み込めませんでした（%2 × %3 ピクセル）。</source>
        <translation>“%1” could not be read: the picture is too large (%2 × %3 pixels).</translation>
    </message>
    <message>
        <source>「%1」はファイルが画像（%2 × %3 ピクセル）に比べて大きすぎるため読み込めませんでした（%4 MB）。</source>
        <translation>“%1” could not be read: the file is far larger than its picture (%2 × %3 pixels) needs (%4 MB).</translation>
    </message>
    <message>
        <source>「%1」は画像のほかに付いているデータ（注釈や付加情報）が多すぎるため読み込めませんでした。</source>
        <translation>“%1” could not be read: it carries too much data besides the picture (comments and metadata).</translation>
    </message>
    <message>
        <source>「%1」はスキャンの数が多すぎる JPEG 画像のため読み込めませんでした（%2 × %3 ピクセル）。</source>
        <translation>“%1” could not be read: a JPEG of too many scans (%2 × %3 pixels).</translation>
    </message>
    <message>
        <source>「%1」の読み込みを中止しました。</source>
        <translation>Reading “%1” was stopped.</translation>
    </message>
    <message>
        <source>「%1」が見つかりません。</source>
        <translation>“%1” cannot be found.</translation>
    </message>
    <message>
        <source>「%1」はフォルダーです。画像ファイルを指定してください。</source>
        <translation>“%1” is a folder. Choose a picture file.</translation>
    </message>
    <message>
        <source>「%1」を読む権限がありません。</source>
        <translation>You are not allowed to read “%1”.</translation>
    </message>
    <message>
        <source>「%1」を画像として読み込めませんでした。</source>
        <translation>“%1” could not be read as a picture.</translation>
    </message>
</context>
<context>
    <name>UnderlayControl</name>
    <message>
        <source>「%1」は大きすぎるため、全体を縮めて置くことができません（%2 × %3 ピクセル）。左上をそのまま置きます。</source>
        <translation>“%1” is too large to be laid whole and reduced (%2 × %3 pixels). Its top-left part is laid as it is.</translation>
    </message>
    <message>
        <source>この下絵は大きすぎるため、全体を縮めて置くことができません。左上をそのまま置きます。</source>
        <translation>This underlay is too large to be laid whole and reduced. Its top-left part is laid as it is.</translation>
    </message>
    <message>
        <source>下絵がありません。先に「下絵」ボタンで画像を開くか、画像をドロップまたは貼り付けてください。</source>
        <translation>There is no underlay. Open a picture with the “Underlay” button first, or drop or paste one.</translation>
    </message>
</context>
<context>
    <name>boundedPaste</name>
    <message>
        <source>選択範囲</source>
        <translation>The selection</translation>
    </message>
    <message>
        <source>クリップボード</source>
        <translation>The clipboard</translation>
    </message>
</context>
<context>
    <name>budgets</name>
    <message>
        <source>UTF-8 で %1 バイトあり、3,000 バイトを超えます</source>
        <translation>%1 bytes in UTF-8, over 3,000</translation>
    </message>
    <message>
        <source>スマートフォンでは1行12文字ほどで折り返します</source>
        <translation>a phone wraps lines after about 12 wide characters</translation>
    </message>
</context>
<context>
    <name>commands</name>
    <message>
        <source>下絵の配置</source>
        <translation>Underlay placement</translation>
    </message>
    <message>
        <source>ずらす</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>道具</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>絵文字の色</source>
        <translation>Emoji colours</translation>
    </message>
    <message>
        <source>元に戻す（%1）</source>
        <translation>Undo (%1)</translation>
    </message>
    <message>
        <source>やり直す（%1）</source>
        <translation>Redo (%1)</translation>
    </message>
    <message>
        <source>下絵を薄く表示（%1%）</source>
        <translation>Underlay strength (%1%)</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>やり直す</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>テキストをコピー</source>
        <translation>Copy the text</translation>
    </message>
    <message>
        <source>選んだ範囲を切り取る</source>
        <translation>Cut the selection</translation>
    </message>
    <message>
        <source>貼り付け（画像は下絵、絵の文字は絵に）</source>
        <translation>Paste (an image as the underlay, a picture's text as the picture)</translation>
    </message>
    <message>
        <source>投稿用テキスト...</source>
        <translation>Text for posting...</translation>
    </message>
    <message>
        <source>絵を保存</source>
        <translation>Save the picture</translation>
    </message>
    <message>
        <source>名前を付けて絵を保存...</source>
        <translation>Save the picture as...</translation>
    </message>
    <message>
        <source>絵を開く...</source>
        <translation>Open a picture...</translation>
    </message>
    <message>
        <source>前回の絵を開く</source>
        <translation>Open the last picture</translation>
    </message>
    <message>
        <source>下絵から点を打つ...</source>
        <translation>Dots from the underlay...</translation>
    </message>
    <message>
        <source>下絵をそのまま置く</source>
        <translation>Underlay as loaded</translation>
    </message>
    <message>
        <source>下絵をキャンバスに合わせる</source>
        <translation>Underlay fitted to the canvas</translation>
    </message>
    <message>
        <source>下絵でキャンバスを覆う</source>
        <translation>Underlay filling the canvas</translation>
    </message>
    <message>
        <source>下絵を薄く表示（100%）</source>
        <translation>Underlay strength (100%)</translation>
    </message>
    <message>
        <source>白黒反転</source>
        <translation>Invert</translation>
    </message>
    <message>
        <source>左右反転</source>
        <translation>Flip left to right</translation>
    </message>
    <message>
        <source>上下反転</source>
        <translation>Flip top to bottom</translation>
    </message>
    <message>
        <source>右に90度回す</source>
        <translation>Turn right 90°</translation>
    </message>
    <message>
        <source>左に90度回す</source>
        <translation>Turn left 90°</translation>
    </message>
    <message>
        <source>左へ1ドットずらす</source>
        <translation>Shift one dot left</translation>
    </message>
    <message>
        <source>右へ1ドットずらす</source>
        <translation>Shift one dot right</translation>
    </message>
    <message>
        <source>上へ1ドットずらす</source>
        <translation>Shift one dot up</translation>
    </message>
    <message>
        <source>下へ1ドットずらす</source>
        <translation>Shift one dot down</translation>
    </message>
    <message>
        <source>ペン</source>
        <translation>Pen</translation>
    </message>
    <message>
        <source>塗りつぶし</source>
        <translation>Fill</translation>
    </message>
    <message>
        <source>直線</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>四角</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>四角（塗りつぶし）</source>
        <translation>Filled rectangle</translation>
    </message>
    <message>
        <source>楕円</source>
        <translation>Ellipse</translation>
    </message>
    <message>
        <source>楕円（塗りつぶし）</source>
        <translation>Filled ellipse</translation>
    </message>
    <message>
        <source>範囲選択</source>
        <translation>Selection</translation>
    </message>
    <message>
        <source>角を整える</source>
        <translation>Smooth corners</translation>
    </message>
    <message>
        <source>カラー（絵文字）</source>
        <translation>Colour (emoji)</translation>
    </message>
    <message>
        <source>ミラー描画（左右対称に描く）</source>
        <translation>Mirror (paint both halves alike)</translation>
    </message>
    <message>
        <source>キーと操作の一覧</source>
        <translation>Keys and commands</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>表示言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>日本語</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>黒</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>白</source>
        <translation>White</translation>
    </message>
    <message>
        <source>赤</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>オレンジ</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>黄</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>緑</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>青</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>紫</source>
        <translation>Purple</translation>
    </message>
    <message>
        <source>茶</source>
        <translation>Brown</translation>
    </message>
</context>
<context>
    <name>frmConvert</name>
    <message>
        <source>+ / −（Ctrl+T の間）</source>
        <translation>+ / − (in Ctrl+T)</translation>
    </message>
    <message>
        <source>下絵を1.25倍に拡大・縮小（キャンバスの中央を中心に）</source>
        <translation>Scale the underlay by 1.25 (about the middle of the canvas)</translation>
    </message>
    <message>
        <source>0（Ctrl+T の間）</source>
        <translation>0 (in Ctrl+T)</translation>
    </message>
    <message>
        <source>下絵をキャンバスに合わせ直す</source>
        <translation>Fit the underlay to the canvas again</translation>
    </message>
    <message>
        <source>← → ↑ ↓（Ctrl+T の間）</source>
        <translation>← → ↑ ↓ (in Ctrl+T)</translation>
    </message>
    <message>
        <source>下絵を1ドット動かす（リストやスライダーを操作中でないとき）</source>
        <translation>Move the underlay by a dot (unless a list or slider has the keys)</translation>
    </message>
    <message>
        <source>ドラッグ / ホイール（Ctrl+T の間）</source>
        <translation>Drag / wheel (in Ctrl+T)</translation>
    </message>
    <message>
        <source>キャンバスで下絵を動かす / ポインターを中心に拡大・縮小</source>
        <translation>Move the underlay on the canvas / scale it about the pointer</translation>
    </message>
    <message>
        <source>Alt+O（Ctrl+T の間）</source>
        <translation>Alt+O (in Ctrl+T)</translation>
    </message>
    <message>
        <source>色: 白黒か絵文字9色（⬛⬜🟥🟧🟨🟩🟦🟪🟫）か</source>
        <translation>Colours: black and white, or the nine emoji (⬛⬜🟥🟧🟨🟩🟦🟪🟫)</translation>
    </message>
    <message>
        <source>Alt+B / Alt+N（Ctrl+T の間）</source>
        <translation>Alt+B / Alt+N (in Ctrl+T)</translation>
    </message>
    <message>
        <source>明るさ / コントラスト（−100〜100、矢印キーで1ずつ、PgUp・PgDownで10ずつ）</source>
        <translation>Brightness / contrast (−100 to 100; arrows by 1, PgUp and PgDown by 10)</translation>
    </message>
    <message>
        <source>Alt+E（Ctrl+T の間）</source>
        <translation>Alt+E (in Ctrl+T)</translation>
    </message>
    <message>
        <source>輪郭を強調（小さな絵で目や輪郭を残す）</source>
        <translation>Sharpen (keeps eyes and edges in a small picture)</translation>
    </message>
    <message>
        <source>下絵から点を打つ</source>
        <translation>Dots from the underlay</translation>
    </message>
    <message>
        <source>そのまま（左上から）</source>
        <translation>As loaded (from the top left)</translation>
    </message>
    <message>
        <source>キャンバスに合わせる</source>
        <translation>Fitted to the canvas</translation>
    </message>
    <message>
        <source>キャンバスを覆う</source>
        <translation>Filling the canvas</translation>
    </message>
    <message>
        <source>自動(&amp;A)</source>
        <translation>&amp;Automatic</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>誤差拡散（Floyd–Steinberg）</source>
        <translation>Error diffusion (Floyd–Steinberg)</translation>
    </message>
    <message>
        <source>誤差拡散（Atkinson）</source>
        <translation>Error diffusion (Atkinson)</translation>
    </message>
    <message>
        <source>規則的 4×4（Bayer）</source>
        <translation>Ordered 4×4 (Bayer)</translation>
    </message>
    <message>
        <source>白黒反転(&amp;I)</source>
        <translation>&amp;Invert</translation>
    </message>
    <message>
        <source>白黒</source>
        <translation>Black and white</translation>
    </message>
    <message>
        <source>絵文字9色</source>
        <translation>Nine emoji colours</translation>
    </message>
    <message>
        <source>明るさ</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>コントラスト</source>
        <translation>Contrast</translation>
    </message>
    <message>
        <source>輪郭を強調(&amp;E)</source>
        <translation>Sharp&amp;en</translation>
    </message>
    <message>
        <source>下絵を動かす: 矢印キー（1ドット）、キャンバスをドラッグ
拡大・縮小: + と −（1.25倍）、キャンバスでホイール
キャンバスに合わせ直す: 0　　下絵の濃さ: U</source>
        <translation>Move: arrow keys (a dot), or drag on the canvas
Scale: + and − (1.25 times), or the wheel on the canvas
Fit again: 0    Underlay strength: U</translation>
    </message>
    <message>
        <source>下絵の動かし方</source>
        <translation>How to move the underlay</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>下絵の配置(&amp;P)</source>
        <translation>&amp;Placement</translation>
    </message>
    <message>
        <source>色(&amp;O)</source>
        <translation>C&amp;olours</translation>
    </message>
    <message>
        <source>明るさ(&amp;B)</source>
        <translation>&amp;Brightness</translation>
    </message>
    <message>
        <source>コントラスト(&amp;N)</source>
        <translation>Co&amp;ntrast</translation>
    </message>
    <message>
        <source>しきい値(&amp;S)</source>
        <translation>Thre&amp;shold</translation>
    </message>
    <message>
        <source>ディザ(&amp;D)</source>
        <translation>&amp;Dither</translation>
    </message>
    <message>
        <source>下絵の配置</source>
        <translation>Underlay placement</translation>
    </message>
    <message>
        <source>しきい値</source>
        <translation>Threshold</translation>
    </message>
    <message>
        <source>これより暗い点を黒にします（0から255）</source>
        <translation>Dots darker than this become black (0 to 255)</translation>
    </message>
    <message>
        <source>ディザ</source>
        <translation>Dither</translation>
    </message>
    <message>
        <source>色</source>
        <translation>Colours</translation>
    </message>
</context>
<context>
    <name>frmHelp</name>
    <message>
        <source>キーと操作</source>
        <translation>Keys and commands</translation>
    </message>
    <message>
        <source>左ボタン 黒、右・中ボタン 白（下絵があれば下絵を出す）。
保存は Ctrl+S、下絵からドットは Ctrl+T、投稿用テキストは Ctrl+E。どれも、下の操作も、左のパネルを右クリックしたメニューから選べます。</source>
        <translation>Left button black, right and middle buttons white (showing the underlay, if any).
Save with Ctrl+S, dots from the underlay with Ctrl+T, text for posting with Ctrl+E. These and everything below are also in the menu of a right click on the panel at the left.</translation>
    </message>
    <message>
        <source>キー</source>
        <translation>Keys</translation>
    </message>
    <message>
        <source>操作</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>キーと操作の一覧</source>
        <translation>Keys and commands</translation>
    </message>
    <message>
        <source>左ボタン / 右・中ボタン</source>
        <translation>Left button / right, middle button</translation>
    </message>
    <message>
        <source>キャンバスで黒（カラーでは選んだ色）を塗る / 白を塗る（下絵を出す）</source>
        <translation>Paint black (in colour, the colour chosen) / paint white (showing the underlay)</translation>
    </message>
    <message>
        <source>← → ↑ ↓</source>
        <translation>← → ↑ ↓</translation>
    </message>
    <message>
        <source>キャンバスのカーソルを1ドット動かす（範囲選択では選んだ範囲を動かす）</source>
        <translation>Move the canvas's cursor by a dot (with a selection, move it)</translation>
    </message>
    <message>
        <source>Home / End / PgUp / PgDown</source>
        <translation>Home / End / PgUp / PgDown</translation>
    </message>
    <message>
        <source>カーソルを左端・右端・上端・下端へ</source>
        <translation>Cursor to the left, right, top or bottom edge</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>カーソルの点を黒く塗る（押したまま動かすと続けて塗る。図形の道具では角を決めて描く）</source>
        <translation>Paint the cursor's dot black (held while moving, paint on; with a shape tool, set its corners)</translation>
    </message>
    <message>
        <source>Del / Backspace</source>
        <translation>Del / Backspace</translation>
    </message>
    <message>
        <source>カーソルの点を白く塗る（下絵を出す。範囲選択では選んだ範囲を白くする）</source>
        <translation>Paint the cursor's dot white (showing the underlay; with a selection, clear it)</translation>
    </message>
    <message>
        <source>Shift+クリック</source>
        <translation>Shift+click</translation>
    </message>
    <message>
        <source>最後に塗った点からクリックした点まで直線を引く</source>
        <translation>A line from the dot painted last to the dot clicked</translation>
    </message>
    <message>
        <source>Shift+ドラッグ</source>
        <translation>Shift+drag</translation>
    </message>
    <message>
        <source>直線は45度ずつ、四角は正方形、楕円は円にする</source>
        <translation>Lines in steps of 45°, squares, circles</translation>
    </message>
    <message>
        <source>Shift+← → ↑ ↓</source>
        <translation>Shift+← → ↑ ↓</translation>
    </message>
    <message>
        <source>範囲選択で、カーソルから範囲を広げる</source>
        <translation>With the selection tool, select from the cursor</translation>
    </message>
    <message>
        <source>Enter / Esc</source>
        <translation>Enter / Esc</translation>
    </message>
    <message>
        <source>貼り付けた範囲を置く / ドラッグ中の図形や移動をやめる、選んだ範囲を外す</source>
        <translation>Put down a pasted part / drop the shape or move under way, or the selection</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>下絵から点を打つ</source>
        <translation>Dots from the underlay</translation>
    </message>
    <message>
        <source>ドラッグ元</source>
        <translation>The drag source</translation>
    </message>
    <message>
        <source>ドロップされた画像</source>
        <translation>The dropped image</translation>
    </message>
    <message>
        <source>ずらす</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>白黒反転</source>
        <translation>Invert</translation>
    </message>
    <message>
        <source>左右反転</source>
        <translation>Flip left to right</translation>
    </message>
    <message>
        <source>上下反転</source>
        <translation>Flip top to bottom</translation>
    </message>
    <message>
        <source>右に90度回す</source>
        <translation>Turn right 90°</translation>
    </message>
    <message>
        <source>左に90度回す</source>
        <translation>Turn left 90°</translation>
    </message>
    <message>
        <source>切り取り</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>クリップボード</source>
        <translation>The clipboard</translation>
    </message>
    <message>
        <source>クリップボードの画像</source>
        <translation>The clipboard's image</translation>
    </message>
    <message>
        <source>絵を開く</source>
        <translation>Open a picture</translation>
    </message>
    <message>
        <source>テキストの貼り付け</source>
        <translation>Pasting text</translation>
    </message>
    <message>
        <source>キャンバス（%1 × %2 ドット）</source>
        <translation>Canvas (%1 × %2 dots)</translation>
    </message>
    <message>
        <source>点がありません</source>
        <translation>no dots</translation>
    </message>
    <message>
        <source>カーソル %1 列 %2 行、%3</source>
        <translation>cursor column %1, row %2, %3</translation>
    </message>
    <message>
        <source>最大サイズは%1ドットです</source>
        <translation>The largest size is %1 dots</translation>
    </message>
    <message>
        <source>全消去</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>コントロール</source>
        <translation>Controls</translation>
    </message>
    <message>
        <source>格子(&amp;L)</source>
        <translation>&amp;Lines</translation>
    </message>
    <message>
        <source>再描画(&amp;R)</source>
        <translation>&amp;Redraw</translation>
    </message>
    <message>
        <source>全消去(&amp;C)</source>
        <translation>&amp;Clear</translation>
    </message>
    <message>
        <source>絵を全部消します。Ctrl+Z で元に戻せます。</source>
        <translation>Clears the whole picture. Ctrl+Z brings it back.</translation>
    </message>
    <message>
        <source>下絵(&amp;T)</source>
        <translation>&amp;Trace</translation>
    </message>
    <message>
        <source>なぞる画像を開きます。画像ファイルをウィンドウにドロップするか、Ctrl+V で貼り付けても下絵になります。</source>
        <translation>Opens a picture to trace over. A picture file dropped on the window, or pasted with Ctrl+V, becomes the underlay too.</translation>
    </message>
    <message>
        <source>(´ω｀)&amp;b</source>
        <translation>(´ω｀)&amp;b</translation>
    </message>
    <message>
        <source>絵を■と□の文字で表示します。Ctrl+C でウィンドウを開かずにコピーできます。</source>
        <translation>Shows the picture as ■ and □. Ctrl+C copies it without the window.</translation>
    </message>
    <message>
        <source>倍率、大きさ、格子、下絵の操作</source>
        <translation>Magnification, size, grid and underlay</translation>
    </message>
    <message>
        <source>%1倍</source>
        <translation>x%1</translation>
    </message>
    <message>
        <source>キャンバスの1ドットを%1ピクセルで表示します</source>
        <translation>Shows each dot of the canvas as %1 pixels</translation>
    </message>
    <message>
        <source>幅</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>絵の幅（ドット数、0から99）</source>
        <translation>The picture's width (dots, 0 to 99)</translation>
    </message>
    <message>
        <source>高さ</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>絵の高さ（ドット数、0から99）</source>
        <translation>The picture's height (dots, 0 to 99)</translation>
    </message>
    <message>
        <source>幅と高さの間</source>
        <translation>between width and height</translation>
    </message>
    <message>
        <source>格子</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>キャンバスに灰色の格子を表示します</source>
        <translation>Shows a grey grid on the canvas</translation>
    </message>
    <message>
        <source>再描画</source>
        <translation>Redraw</translation>
    </message>
    <message>
        <source>幅と高さを適用して描き直します（48ドットまで）</source>
        <translation>Applies the width and height and draws again (up to 48 dots)</translation>
    </message>
    <message>
        <source>絵を全部消します</source>
        <translation>Clears the whole picture</translation>
    </message>
    <message>
        <source>下絵</source>
        <translation>Underlay</translation>
    </message>
    <message>
        <source>なぞるための画像を開いてキャンバスの下に表示します</source>
        <translation>Opens a picture to trace and shows it under the canvas</translation>
    </message>
    <message>
        <source>(´ω｀)b</source>
        <translation>(´ω｀)b</translation>
    </message>
    <message>
        <source>絵を■と□の文字で表示します</source>
        <translation>Shows the picture as ■ and □</translation>
    </message>
    <message>
        <source>実寸の絵</source>
        <translation>Picture at true size</translation>
    </message>
    <message>
        <source>1ドットを1ピクセルで表示した絵。クリックすると文字で表示します</source>
        <translation>The picture at one pixel a dot. A click shows it as text</translation>
    </message>
    <message>
        <source>キャンバスの下に置く画像（表示されません）</source>
        <translation>The picture under the canvas (not shown)</translation>
    </message>
    <message>
        <source>1倍</source>
        <translation>x1</translation>
    </message>
    <message>
        <source>使われません</source>
        <translation>not used</translation>
    </message>
    <message>
        <source>キャンバス</source>
        <translation>Canvas</translation>
    </message>
    <message>
        <source>左ボタンで黒、右ボタンで白を塗ります。矢印キーでカーソルを動かし、スペースで黒、Delete で白を塗ります</source>
        <translation>The left button paints black, the right one white. The arrow keys move the cursor, Space paints black, Delete white</translation>
    </message>
    <message>
        <source>次に起動したときから英語で表示します。</source>
        <translation>The program will be in English from its next start.</translation>
    </message>
    <message>
        <source>次に起動したときから日本語で表示します。</source>
        <translation>The program will be in Japanese from its next start.</translation>
    </message>
</context>
<context>
    <name>frmPalette</name>
    <message>
        <source>色</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>frmPost</name>
    <message>
        <source>投稿用テキスト</source>
        <translation>Text for posting</translation>
    </message>
    <message>
        <source>■ と □</source>
        <translation>■ and □</translation>
    </message>
    <message>
        <source>⬛ と ⬜（絵文字）</source>
        <translation>⬛ and ⬜ (emoji)</translation>
    </message>
    <message>
        <source>█ と全角幅の空白（U+2003）</source>
        <translation>█ and an em space (U+2003)</translation>
    </message>
    <message>
        <source>自分で入力</source>
        <translation>Your own</translation>
    </message>
    <message>
        <source>点字（2 × 4 ドットで1文字）</source>
        <translation>Braille (2 × 4 dots a character)</translation>
    </message>
    <message>
        <source>文字</source>
        <translation>Characters</translation>
    </message>
    <message>
        <source>黒と白の2文字</source>
        <translation>Two characters, black and white</translation>
    </message>
    <message>
        <source>自分で入力する黒と白の文字</source>
        <translation>Your own characters for black and white</translation>
    </message>
    <message>
        <source>白と黒を入れ替える（暗い画面用）(&amp;W)</source>
        <translation>S&amp;wap black and white (for dark themes)</translation>
    </message>
    <message>
        <source>何もない端の行と列を省く(&amp;T)</source>
        <translation>&amp;Trim empty rows and columns at the edges</translation>
    </message>
    <message>
        <source>CR LF（Windows）</source>
        <translation>CR LF (Windows)</translation>
    </message>
    <message>
        <source>改行</source>
        <translation>Line ends</translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>文字(&amp;K)</source>
        <translation>Characters (&amp;K)</translation>
    </message>
    <message>
        <source>改行(&amp;L)</source>
        <translation>&amp;Line ends</translation>
    </message>
    <message>
        <source> それまでは ■ と □ で書きます。</source>
        <translation> Until then it is written in ■ and □.</translation>
    </message>
    <message>
        <source>幅があいまいな文字（East Asian Ambiguous）があります。欧文のフォントでは半角で表示され、絵が崩れることがあります。</source>
        <translation>A character of ambiguous width (East Asian Ambiguous): in a Western font it shows half as wide, and the picture may fall apart.</translation>
    </message>
    <message>
        <source>この文字は幅があいまいです。欧文のフォントが優先される画面では半角になり、絵が崩れることがあります。</source>
        <translation>These characters are of ambiguous width: where a Western font comes first they show half as wide, and the picture may fall apart.</translation>
    </message>
    <message>
        <source>－</source>
        <translation>–</translation>
    </message>
    <message>
        <source>○ 収まる</source>
        <translation>○ fits</translation>
    </message>
    <message>
        <source>× 収まらない</source>
        <translation>× does not fit</translation>
    </message>
    <message>
        <source>収まる大きさなし</source>
        <translation>no size fits</translation>
    </message>
    <message>
        <source>最大 %1 × %2</source>
        <translation>largest %1 × %2</translation>
    </message>
    <message>
        <source>（</source>
        <translation> (</translation>
    </message>
    <message>
        <source>）</source>
        <translation>)</translation>
    </message>
    <message>
        <source>絵に黒い点がないため、投稿するものがありません。</source>
        <translation>The picture has no black dot: there is nothing to post.</translation>
    </message>
    <message>
        <source>「最大」は、この縦横比のまま収まるいちばん大きな絵（ドット数）です。この絵はパネルで作れる %1 × %1 より大きいため、その大きさまで示します。</source>
        <translation>“Largest” is the largest picture of this shape that fits (in dots). This picture is larger than the %1 × %1 the panel makes, so sizes up to its own are shown.</translation>
    </message>
    <message>
        <source>「最大」は、この縦横比のまま収まるいちばん大きな絵（ドット数）で、パネルで作れる %1 × %1 までです。</source>
        <translation>“Largest” is the largest picture of this shape that fits (in dots), up to the %1 × %1 the panel makes.</translation>
    </message>
</context>
<context>
    <name>frmResult</name>
    <message>
        <source>(´ω｀)b</source>
        <translation>(´ω｀)b</translation>
    </message>
    <message>
        <source>投稿用テキスト...</source>
        <translation>Text for posting...</translation>
    </message>
</context>
<context>
    <name>offers</name>
    <message>
        <source>%1のテキストは絵の文字（■と□など）ではないため、何も変わりません。</source>
        <translation>%1's text is no picture's text (■ and □ and the like): nothing changed.</translation>
    </message>
</context>
<context>
    <name>pictureOffer</name>
    <message>
        <source>%1のプログラムが応答しませんでした。何も読み込んでいません。</source>
        <translation>The program holding %1 did not answer. Nothing was read.</translation>
    </message>
    <message>
        <source>%1のデータが大きすぎるため読み込めませんでした（%2 まで）。</source>
        <translation>%1's data is too large to read (at most %2).</translation>
    </message>
    <message>
        <source>%1 の画像は読み込めません（読み込めるのは BMP・JPEG・GIF・PNG です）。</source>
        <translation>A %1 image cannot be read (BMP, JPEG, GIF and PNG can).</translation>
    </message>
</context>
<context>
    <name>safeWrite</name>
    <message>
        <source>同じ名前のフォルダーがあります。</source>
        <translation>A folder has that name.</translation>
    </message>
    <message>
        <source>保存先のフォルダーがありません。</source>
        <translation>Its folder does not exist.</translation>
    </message>
    <message>
        <source>その名前はファイルではなく、デバイスかパイプです。</source>
        <translation>That name is a device or a pipe, not a file.</translation>
    </message>
    <message>
        <source>このファイルは読み取り専用です。</source>
        <translation>The file is read-only.</translation>
    </message>
    <message>
        <source>このフォルダーには書き込む権限がありません。</source>
        <translation>You are not allowed to write in this folder.</translation>
    </message>
    <message>
        <source>ディスクに空きがありません。</source>
        <translation>The disk is full.</translation>
    </message>
    <message>
        <source>書き込めませんでした。</source>
        <translation>It could not be written.</translation>
    </message>
    <message>
        <source>「%1」に保存できませんでした。%2%3</source>
        <translation>The picture could not be saved as “%1”. %2%3</translation>
    </message>
    <message>
        <source>前からあるファイルはそのままです。</source>
        <translation> The file that was there is as it was.</translation>
    </message>
</context>
<context>
    <name>savedPicture</name>
    <message>
        <source>「%1」は絵のファイルとしては大きすぎます（%2 MB。開けるのは %3 MB まで）。</source>
        <translation>“%1” is too large for a picture's file (%2 MB; at most %3 MB opens).</translation>
    </message>
    <message>
        <source>この画像は %1 × %2 ピクセルあり、1ピクセルを1ドットとして開けるのは %3 × %3 までです。大きな画像は「下絵」ボタンか Ctrl+V でキャンバスの下に置き、Ctrl+T で点にしてください。</source>
        <translation>This image is %1 × %2 pixels; at one pixel a dot, at most %3 × %3 opens. Lay a larger one under the canvas with the “Underlay” button or Ctrl+V, and turn it into dots with Ctrl+T.</translation>
    </message>
    <message>
        <source>画像を読み込めませんでした。</source>
        <translation>The image could not be read.</translation>
    </message>
    <message>
        <source>「%1」と「%2」のどちらが黒い点か分かりません。テキストを貼り付けると選べます。</source>
        <translation>It is not known which of “%1” and “%2” is a black dot. Paste the text to choose.</translation>
    </message>
    <message>
        <source>このファイルは絵のテキストでも画像でもありません。</source>
        <translation>The file is neither a picture's text nor an image.</translation>
    </message>
</context>
<context>
    <name>sizeEntry</name>
    <message>
        <source>サイズには0から%1までの数字を入力してください</source>
        <translation>Enter a number from 0 to %1 for the size</translation>
    </message>
</context>
<context>
    <name>takePictureText</name>
    <message>
        <source>「%1」を黒</source>
        <translation>“%1” black</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>点字は 2 × 4 ドットで1文字のため、絵の大きさを文字単位に切り上げて %1 × %2 ドットにしました。右端の列や下端の行が余分なら、大きさ欄で小さくしてください。</source>
        <translation>Braille takes 2 × 4 dots a character, so the picture's size was rounded up to whole characters: %1 × %2 dots. If the last column or row is too many, make it smaller in the size fields.</translation>
    </message>
    <message>
        <source>投稿用テキストの「白と黒を入れ替える」が選ばれています。貼り付けたテキストの白と黒を入れ替えて読みますか？</source>
        <translation>“Swap black and white” is chosen in the posting window. Read the pasted text with black and white swapped?</translation>
    </message>
    <message>
        <source>入れ替えて読む</source>
        <translation>Read swapped</translation>
    </message>
    <message>
        <source>そのまま読む</source>
        <translation>Read as it is</translation>
    </message>
</context>
<context>
    <name>textPairs</name>
    <message>
        <source>黒と白の2文字を入力してください。</source>
        <translation>Type two characters, black and white.</translation>
    </message>
    <message>
        <source>黒と白には違う文字を入力してください。</source>
        <translation>Type different characters for black and white.</translation>
    </message>
    <message>
        <source>改行や制御文字は使えません。</source>
        <translation>Line breaks and control characters cannot be used.</translation>
    </message>
    <message>
        <source>2文字の幅がそろっていません（全角と半角）。</source>
        <translation>The two characters are not equally wide (full and half width).</translation>
    </message>
</context>
<context>
    <name>textReading</name>
    <message>
        <source>%1絵は %2 × %3 ドットあり、読み込めるのは %4 × %4 ドットまでです。</source>
        <translation>%1 picture is %2 × %3 dots; at most %4 × %4 dots can be read.</translation>
    </message>
    <message>
        <source>開いた</source>
        <translation>The opened</translation>
    </message>
    <message>
        <source>貼り付けた</source>
        <translation>The pasted</translation>
    </message>
    <message>
        <source>%1の %2 行目 %3 文字目の「%4」は、絵文字の四角（⬛⬜🟥🟧🟨🟩🟦🟪🟫）ではありません。</source>
        <translation>In %1, “%4” (line %2, character %3) is none of the emoji squares (⬛⬜🟥🟧🟨🟩🟦🟪🟫).</translation>
    </message>
    <message>
        <source>開いたファイル</source>
        <translation>the opened file</translation>
    </message>
    <message>
        <source>貼り付けたテキスト</source>
        <translation>the pasted text</translation>
    </message>
    <message>
        <source>%1の %2 行目 %3 文字目の「%4」は、点字の文字（U+2800〜U+28FF）ではありません。</source>
        <translation>In %1, “%4” (line %2, character %3) is no braille character (U+2800 to U+28FF).</translation>
    </message>
    <message>
        <source>%1の %2 行目 %3 文字目の「%4」は、絵の文字（%5 と %6）ではありません。</source>
        <translation>In %1, “%4” (line %2, character %3) is not one of the picture's characters (%5 and %6).</translation>
    </message>
    <message>
        <source>%1は「%2」と「%3」の2文字でできています。どちらを黒い点にしますか？</source>
        <translation>%1 is made of two characters, “%2” and “%3”. Which is a black dot?</translation>
    </message>
</context>
<context>
    <name>underlayLoading</name>
    <message>
        <source>読み込み中</source>
        <translation>Reading</translation>
    </message>
    <message>
        <source>下絵の読み込み</source>
        <translation>Reading the underlay</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>読み込みをやめます（Esc）。下絵は前のままです。</source>
        <translation>Stops reading (Esc). The underlay stays as it was.</translation>
    </message>
</context>
</TS>