<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ColorFormats</name>
    <message>
        <source>R</source>
        <translation>R</translation>
    </message>
    <message>
        <source>G</source>
        <translation>G</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>#HTML</source>
        <translation>#HTML</translation>
    </message>
    <message>
        <source>HTML</source>
        <translation>HTML</translation>
    </message>
    <message>
        <source>Copy to clipboard in POV-Ray format</source>
        <translation>Im POV-Ray-Format kopieren</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>unknown option &quot;%1&quot;; see tintgrabber --help</source>
        <translation>unbekannte Option „%1“; siehe tintgrabber --help</translation>
    </message>
    <message>
        <source>unknown argument &quot;%1&quot;; see tintgrabber --help</source>
        <translation>unbekanntes Argument „%1“; siehe tintgrabber --help</translation>
    </message>
    <message>
        <source>cannot open the display: %1</source>
        <translation>die Anzeige kann nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>Usage: tintgrabber [OPTION]...
Reads the colour of any pixel on the screen. Press the left mouse button in the
magnifier or the colour swatch and move over the screen (or click there, move,
and click again): the swatch takes the colour under the pointer, the magnifier
shows its surroundings enlarged, and six fields show the colour as texts to
copy. While sampling, the arrow keys move the pointer by one pixel (ten with
Shift), Enter keeps the colour and Escape puts back the one from before.

Options:
  --help     show this help and exit
  --version  show the version and exit
Qt&apos;s own options work too, such as -platform NAME, -display DISPLAY (X11) and
-style NAME; a platform or display that cannot be opened is refused in one line
with the exit status 1, any other argument with the exit status 2.

The zoom and the always-on-top choice are kept in
  %1
</source>
        <translation>Aufruf: tintgrabber [OPTION]...
Liest die Farbe jedes Pixels auf dem Bildschirm. Drücken Sie die linke Maustaste
in der Lupe oder im Farbfeld und bewegen Sie die Maus über den Bildschirm (oder
klicken Sie dort, bewegen Sie sie und klicken Sie erneut): das Farbfeld nimmt die
Farbe unter dem Mauszeiger an, die Lupe zeigt die Umgebung vergrößert, und sechs
Felder zeigen die Farbe als Texte zum Kopieren. Beim Abtasten bewegen die
Pfeiltasten den Mauszeiger um ein Pixel (zehn mit Umschalt), die Eingabetaste
behält die Farbe und Escape stellt die vorige wieder her.

Optionen:
  --help     diese Hilfe zeigen und beenden
  --version  die Version zeigen und beenden
Auch Qts eigene Optionen wirken, etwa -platform NAME, -display DISPLAY (X11) und
-style NAME; eine Plattform oder Anzeige, die sich nicht öffnen lässt, wird in
einer Zeile mit dem Status 1 abgelehnt, jedes andere Argument mit dem Status 2.

Die Vergrößerung und die Wahl „Immer oben“ werden gespeichert in
  %1
</translation>
    </message>
</context>
<context>
    <name>DialogTemplates</name>
    <message>
        <source>Always on top</source>
        <translation>Immer oben</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Ende</translation>
    </message>
    <message>
        <source>Written by the tintgrabber developers</source>
        <translation>Von den Tintgrabber-Entwicklern</translation>
    </message>
    <message>
        <source>To use the tint grabber click the color or zoom areas and drag over your screen.</source>
        <translation>Klicken Sie in das Farb- oder Lupenfeld und ziehen Sie über den Bildschirm.</translation>
    </message>
    <message>
        <source>While dragging color area&apos;s background will be showing the selected color. The zoom window will display a detailed view of the selected area.</source>
        <translation>Beim Ziehen zeigt das Farbfeld die gewählte Farbe, die Lupe eine vergrößerte Ansicht der Umgebung.</translation>
    </message>
    <message>
        <source>When you select your color copy it by clicking the desired button.</source>
        <translation>Ist die Farbe gewählt, kopieren Sie sie mit der gewünschten Schaltfläche.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>About Tintgrabber</source>
        <translation>Über Tintgrabber</translation>
    </message>
</context>
<context>
    <name>DisplayProblem</name>
    <message>
        <source>no platform &quot;%1&quot; (installed: %2)</source>
        <translation>keine Plattform „%1“ (installiert: %2)</translation>
    </message>
    <message>
        <source>no Wayland compositor answers on &quot;%1&quot;</source>
        <translation>kein Wayland-Compositor antwortet auf „%1“</translation>
    </message>
    <message>
        <source>DISPLAY is not set</source>
        <translation>DISPLAY ist nicht gesetzt</translation>
    </message>
    <message>
        <source>no X server answers on &quot;%1&quot;</source>
        <translation>kein X-Server antwortet auf „%1“</translation>
    </message>
</context>
<context>
    <name>LinkLabel</name>
    <message>
        <source>Link: %1</source>
        <translation>Verweis: %1</translation>
    </message>
</context>
<context>
    <name>Notices</name>
    <message>
        <source>Tintgrabber cannot read the screen on this desktop, so it cannot show the colour under the pointer.

It reads the screen on X11 desktops. In a Wayland session, choose an X11 (Xorg) session when you log in.</source>
        <translation>Tintgrabber kann den Bildschirm auf diesem Desktop nicht lesen und daher die Farbe unter dem Mauszeiger nicht zeigen.

Es liest den Bildschirm auf X11-Desktops. Wählen Sie statt einer Wayland-Sitzung beim Anmelden eine X11-Sitzung (Xorg).</translation>
    </message>
    <message>
        <source>Tintgrabber runs through XWayland here, which lets it read only the windows of other X11 programs. Everywhere else on the screen it would read black, not the colour you see.

To read the whole screen, choose an X11 (Xorg) session when you log in.</source>
        <translation>Tintgrabber läuft hier über XWayland und kann so nur die Fenster anderer X11-Programme lesen. Überall sonst auf dem Bildschirm läse es Schwarz statt der Farbe, die Sie sehen.

Um den ganzen Bildschirm zu lesen, wählen Sie beim Anmelden eine X11-Sitzung (Xorg).</translation>
    </message>
    <message>
        <source>The desktop&apos;s screenshot could not be read, so Tintgrabber cannot show the colour under the pointer. Press again to try once more.</source>
        <translation>Das Bildschirmfoto des Desktops konnte nicht gelesen werden, daher kann Tintgrabber die Farbe unter dem Mauszeiger nicht zeigen. Drücken Sie erneut, um es noch einmal zu versuchen.</translation>
    </message>
    <message>
        <source>The desktop&apos;s screenshot is scaled differently across than down, so Tintgrabber cannot tell which of its pixels lies under the pointer. This happens where the desktop arranges its screens other than X11 programs see them.</source>
        <translation>Das Bildschirmfoto des Desktops ist waagerecht anders skaliert als senkrecht, daher kann Tintgrabber nicht bestimmen, welches seiner Pixel unter dem Mauszeiger liegt. Das geschieht, wo der Desktop seine Bildschirme anders anordnet, als X11-Programme sie sehen.</translation>
    </message>
    <message>
        <source>No program on this desktop opened the link

%1

You can select it here, copy it and open it yourself.</source>
        <translation>Kein Programm auf diesem Desktop hat den Link geöffnet

%1

Sie können ihn hier markieren, kopieren und selbst öffnen.</translation>
    </message>
    <message>
        <source>Tintgrabber cannot store your settings in
%1
because %2.

The file is left as it is. Until it can be stored, the zoom and always on top you choose last until Tintgrabber closes.</source>
        <translation>Tintgrabber kann Ihre Einstellungen nicht speichern in
%1
da %2.

Die Datei bleibt, wie sie ist. Bis sie gespeichert werden kann, gelten die gewählte Vergrößerung und „Immer oben“, bis Tintgrabber endet.</translation>
    </message>
    <message>
        <source>The desktop refused Tintgrabber a screenshot, so it cannot show the colour under the pointer.

The desktop keeps one answer to &quot;Allow Applications to Take Screenshots?&quot; for all programs that run outside a sandbox, and no settings page holds it. To be asked again at your next press, choose Ask Again.</source>
        <translation>Der Desktop hat Tintgrabber ein Bildschirmfoto verweigert, daher kann es die Farbe unter dem Mauszeiger nicht zeigen.

Der Desktop merkt sich eine einzige Antwort auf „Anwendungen erlauben, Bildschirmfotos aufzunehmen?“ für alle Programme, die außerhalb einer Sandbox laufen, und keine Einstellungsseite zeigt sie. Um beim nächsten Drücken erneut gefragt zu werden, wählen Sie „Erneut fragen“.</translation>
    </message>
    <message>
        <source>The desktop cancelled the screenshot without asking you, so Tintgrabber cannot show the colour under the pointer.

On KDE Plasma this happens when your Pictures folder (the one &quot;xdg-user-dir PICTURES&quot; names, here %1) does not exist: the desktop saves each screenshot there first. Create the folder, then press again.</source>
        <translation>Der Desktop hat das Bildschirmfoto abgebrochen, ohne Sie zu fragen, daher kann Tintgrabber die Farbe unter dem Mauszeiger nicht zeigen.

Unter KDE Plasma geschieht das, wenn Ihr Bilder-Ordner (den „xdg-user-dir PICTURES“ nennt, hier %1) nicht existiert: Der Desktop legt jedes Bildschirmfoto zuerst dort ab. Legen Sie den Ordner an und drücken Sie dann erneut.</translation>
    </message>
    <message>
        <source>The desktop did not hand over a screenshot within %1 seconds, so Tintgrabber cannot show the colour under the pointer. Press again to try once more.</source>
        <translation>Der Desktop hat binnen %1 Sekunden kein Bildschirmfoto geliefert, daher kann Tintgrabber die Farbe unter dem Mauszeiger nicht zeigen. Drücken Sie erneut, um es noch einmal zu versuchen.</translation>
    </message>
    <message>
        <source>&amp;Ask Again</source>
        <translation>&amp;Erneut fragen</translation>
    </message>
    <message>
        <source>Asking the desktop for a screenshot. It may be asking you whether to allow that.</source>
        <translation>Der Desktop wird um ein Bildschirmfoto gebeten. Vielleicht fragt er Sie, ob er das erlauben soll.</translation>
    </message>
</context>
<context>
    <name>SettingsReasons</name>
    <message>
        <source>the registry refused it</source>
        <translation>die Registrierung sie abgelehnt hat</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>sie keine gewöhnliche Datei ist</translation>
    </message>
    <message>
        <source>it is larger than 1 MiB</source>
        <translation>sie größer als 1 MiB ist</translation>
    </message>
    <message>
        <source>it cannot be read (%1)</source>
        <translation>sie nicht gelesen werden kann (%1)</translation>
    </message>
    <message>
        <source>it cannot be parsed</source>
        <translation>sie nicht verstanden werden kann</translation>
    </message>
    <message>
        <source>its folder cannot be made</source>
        <translation>ihr Ordner nicht angelegt werden kann</translation>
    </message>
    <message>
        <source>another Tintgrabber kept it locked</source>
        <translation>ein anderer Tintgrabber sie gesperrt hielt</translation>
    </message>
    <message>
        <source>its folder cannot be written</source>
        <translation>in ihren Ordner nicht geschrieben werden kann</translation>
    </message>
    <message>
        <source>it is read-only</source>
        <translation>sie schreibgeschützt ist</translation>
    </message>
    <message>
        <source>it cannot be written (%1)</source>
        <translation>sie nicht geschrieben werden kann (%1)</translation>
    </message>
</context>
<context>
    <name>WindowMenu</name>
    <message>
        <source>&amp;About Tintgrabber...</source>
        <translation>Ü&amp;ber Tintgrabber...</translation>
    </message>
</context>
</TS>
