<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutWindow</name>
    <message>
        <source>About Quorlscope</source>
        <translation>Über Quorlscope</translation>
    </message>
</context>
<context>
    <name>BracketingWindow</name>
    <message>
        <source>Focus Bracketing</source>
        <translation>Fokusreihe</translation>
    </message>
    <message>
        <source>&amp;Focal length (mm):</source>
        <translation>&amp;Brennweite (mm):</translation>
    </message>
    <message>
        <source>&amp;Aperture (f-number):</source>
        <translation>Blen&amp;de (Blendenzahl):</translation>
    </message>
    <message>
        <source>Any f-number from 1 to 64</source>
        <translation>Jede Blendenzahl von 1 bis 64</translation>
    </message>
    <message>
        <source>Ca&amp;mera:</source>
        <translation>Ka&amp;mera:</translation>
    </message>
    <message>
        <source>APS-C digital</source>
        <translation>APS-C digital</translation>
    </message>
    <message>
        <source>Full-frame digital</source>
        <translation>Vollformat digital</translation>
    </message>
    <message>
        <source>35 mm film</source>
        <translation>35-mm-Film</translation>
    </message>
    <message>
        <source>Medium format</source>
        <translation>Mittelformat</translation>
    </message>
    <message>
        <source>&amp;Circle of confusion (µm):</source>
        <translation>&amp;Zerstreuungskreis (µm):</translation>
    </message>
    <message>
        <source>&amp;Near limit:</source>
        <translation>&amp;Nahgrenze:</translation>
    </message>
    <message>
        <source>The nearest point of the scene that must be sharp</source>
        <translation>Der nächste Punkt der Szene, der scharf sein muss</translation>
    </message>
    <message>
        <source>Fa&amp;r limit:</source>
        <translation>Fe&amp;rngrenze:</translation>
    </message>
    <message>
        <source>&amp;Overlap:</source>
        <translation>Über&amp;lappung:</translation>
    </message>
    <message>
        <source>How far each shot&apos;s sharp zone reaches into the previous one&apos;s, from 0 to 0.9, measured in dioptres</source>
        <translation>Wie weit der Schärfebereich jeder Aufnahme in den der vorigen hineinreicht, von 0 bis 0,9, gemessen in Dioptrien</translation>
    </message>
    <message>
        <source>&amp;Unit:</source>
        <translation>&amp;Einheit:</translation>
    </message>
    <message>
        <source>Metres</source>
        <translation>Meter</translation>
    </message>
    <message>
        <source>Feet</source>
        <translation>Fuß</translation>
    </message>
    <message>
        <source>The shots, farthest first: where to focus and the sharp zone each gives</source>
        <translation>Die Aufnahmen, die fernste zuerst: wohin scharfgestellt wird und welchen Schärfebereich jede ergibt</translation>
    </message>
    <message>
        <source>∞ (the table: %1)</source>
        <translation>∞ (die Tabelle: %1)</translation>
    </message>
    <message>
        <source>Shot</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Focus (%1)</source>
        <translation>Fokus (%1)</translation>
    </message>
    <message>
        <source>Near (%1)</source>
        <translation>Nah (%1)</translation>
    </message>
    <message>
        <source>Far (%1)</source>
        <translation>Fern (%1)</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Usage: %1 [options] [files...]</source>
        <translation>Aufruf: %1 [Optionen] [Dateien...]</translation>
    </message>
    <message>
        <source>A file given while %1 is already running opens in the running program.</source>
        <translation>Eine Datei, die angegeben wird, während %1 bereits läuft, öffnet sich im laufenden Programm.</translation>
    </message>
    <message>
        <source>Without a display, &apos;%1 table&apos; prints a depth-of-field table, &apos;%1 stack&apos; plans the focus distances for focus bracketing and &apos;%1 export FILE.%2... --to OUT&apos; exports saved documents; each, given no arguments, shows its usage.</source>
        <translation>Ohne Bildschirm gibt &apos;%1 table&apos; eine Schärfentiefe-Tabelle aus, &apos;%1 stack&apos; plant die Fokusabstände für eine Fokusreihe und &apos;%1 export DATEI.%2... --to AUSGABE&apos; exportiert gespeicherte Dokumente; jeder Befehl zeigt ohne Argumente seinen Aufruf.</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Optionen:</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Diese Hilfe zeigen und beenden.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Die Version zeigen und beenden.</translation>
    </message>
    <message>
        <source>Arguments:</source>
        <translation>Argumente:</translation>
    </message>
    <message>
        <source>files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Depth-of-field tables (.%1) to open.</source>
        <translation>Zu öffnende Schärfentiefe-Tabellen (.%1).</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 The %1 developers</source>
        <translation>Copyright (C) 2026 Die Entwickler von %1</translation>
    </message>
    <message>
        <source>License GPL-3.0-or-later: GNU GPL version 3 or later &lt;https://www.gnu.org/licenses/gpl-3.0.html&gt;</source>
        <translation>Lizenz GPL-3.0-or-later: GNU GPL Version 3 oder neuer &lt;https://www.gnu.org/licenses/gpl-3.0.html&gt;</translation>
    </message>
    <message>
        <source>This is free software: you are free to change and redistribute it.</source>
        <translation>Dies ist freie Software: Sie dürfen sie ändern und weitergeben.</translation>
    </message>
    <message>
        <source>There is NO WARRANTY, to the extent permitted by law.</source>
        <translation>Es gibt KEINE GARANTIE, soweit gesetzlich zulässig.</translation>
    </message>
</context>
<context>
    <name>FactsWindow</name>
    <message>
        <source>Depth of Field Facts</source>
        <translation>Wissenswertes zur Schärfentiefe</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;body style=&quot;font-size:10pt&quot;&gt;
&lt;h2&gt;Depth of field&lt;/h2&gt;
&lt;p&gt;A lens focuses exactly on one plane only. A point in front of or behind that plane is imaged not as a point but as a small disc of blur. As long as that disc is too small to be seen as blur in the finished picture, the point still looks sharp. The &lt;b&gt;depth of field&lt;/b&gt; is the range of distances, from a near limit to a far limit, within which this holds. The change from sharp to unsharp is gradual: the limits mark where the blur reaches an agreed size, not a hard edge.&lt;/p&gt;

&lt;h3&gt;Circle of confusion&lt;/h3&gt;
&lt;p&gt;The largest blur disc that still passes for a point is the &lt;b&gt;circle of confusion&lt;/b&gt;, &lt;i&gt;c&lt;/i&gt;. It depends on how much the picture is enlarged and from how far it is viewed. For a print of about 20&amp;#160;×&amp;#160;25&amp;#160;cm seen from reading distance, a common rule takes the diagonal of the format divided by about 1500:&lt;/p&gt;
&lt;ul&gt;
&lt;li&gt;35 mm film and full-frame digital (36&amp;#160;×&amp;#160;24&amp;#160;mm): about 30&amp;#160;µm; values from 29 to 33&amp;#160;µm are in use.&lt;/li&gt;
&lt;li&gt;APS-C digital (about 24&amp;#160;×&amp;#160;16&amp;#160;mm): about 20&amp;#160;µm.&lt;/li&gt;
&lt;li&gt;Medium format (6&amp;#160;×&amp;#160;4.5 to 6&amp;#160;×&amp;#160;7&amp;#160;cm): about 45 to 60&amp;#160;µm, larger still for bigger film sizes.&lt;/li&gt;
&lt;/ul&gt;
&lt;p&gt;Large enlargements or close viewing call for a smaller circle; small prints forgive a larger one.&lt;/p&gt;

&lt;h3&gt;Formulas&lt;/h3&gt;
&lt;p&gt;With focal length &lt;i&gt;f&lt;/i&gt;, f-number &lt;i&gt;N&lt;/i&gt;, circle of confusion &lt;i&gt;c&lt;/i&gt; and focusing distance &lt;i&gt;s&lt;/i&gt;, all in the same unit and &lt;i&gt;s&lt;/i&gt; measured from the lens:&lt;/p&gt;
&lt;ul&gt;
&lt;li&gt;Hyperfocal distance: &lt;i&gt;H&lt;/i&gt; = &lt;i&gt;f&lt;/i&gt;²&amp;#160;/&amp;#160;(&lt;i&gt;N&lt;/i&gt;·&lt;i&gt;c&lt;/i&gt;) + &lt;i&gt;f&lt;/i&gt;&lt;/li&gt;
&lt;li&gt;Near limit: &lt;i&gt;s&lt;/i&gt;·(&lt;i&gt;H&lt;/i&gt; − &lt;i&gt;f&lt;/i&gt;)&amp;#160;/&amp;#160;(&lt;i&gt;H&lt;/i&gt; + &lt;i&gt;s&lt;/i&gt; − 2&lt;i&gt;f&lt;/i&gt;)&lt;/li&gt;
&lt;li&gt;Far limit: &lt;i&gt;s&lt;/i&gt;·(&lt;i&gt;H&lt;/i&gt; − &lt;i&gt;f&lt;/i&gt;)&amp;#160;/&amp;#160;(&lt;i&gt;H&lt;/i&gt; − &lt;i&gt;s&lt;/i&gt;), and infinity when &lt;i&gt;s&lt;/i&gt; ≥ &lt;i&gt;H&lt;/i&gt;&lt;/li&gt;
&lt;/ul&gt;
&lt;p&gt;These are thin-lens formulas. They serve well at ordinary distances; in the close-up range real lenses depart from them.&lt;/p&gt;

&lt;h3&gt;Hyperfocal distance&lt;/h3&gt;
&lt;p&gt;Focused at the hyperfocal distance &lt;i&gt;H&lt;/i&gt;, a lens renders everything from about &lt;i&gt;H&lt;/i&gt;/2 to infinity acceptably sharp. A 50&amp;#160;mm lens at f/8 with &lt;i&gt;c&lt;/i&gt; = 30&amp;#160;µm has &lt;i&gt;H&lt;/i&gt; ≈ 10.5&amp;#160;m: focused there, it is sharp from about 5.2&amp;#160;m to infinity.&lt;/p&gt;

&lt;h3&gt;What changes the depth of field&lt;/h3&gt;
&lt;p&gt;Well short of the hyperfocal distance the total depth is close to 2·&lt;i&gt;N&lt;/i&gt;·&lt;i&gt;c&lt;/i&gt;·&lt;i&gt;s&lt;/i&gt;²&amp;#160;/&amp;#160;&lt;i&gt;f&lt;/i&gt;². Hence:&lt;/p&gt;
&lt;ul&gt;
&lt;li&gt;&lt;b&gt;Stopping down&lt;/b&gt; (a larger f-number) deepens the zone about in proportion to the f-number.&lt;/li&gt;
&lt;li&gt;&lt;b&gt;A longer focal length&lt;/b&gt; at the same distance makes it shallower, about with the square of the focal length: at 3&amp;#160;m and f/8 a 50&amp;#160;mm lens gives about 1.85&amp;#160;m of depth, a 100&amp;#160;mm lens about 0.42&amp;#160;m.&lt;/li&gt;
&lt;li&gt;&lt;b&gt;Focusing closer&lt;/b&gt; makes it shallower, about with the square of the distance: half the distance gives about a quarter of the depth.&lt;/li&gt;
&lt;li&gt;&lt;b&gt;Same framing:&lt;/b&gt; if the subject keeps its size in the frame, the depth at a given f-number is nearly the same for every focal length; only the blur of the far background differs.&lt;/li&gt;
&lt;li&gt;&lt;b&gt;A smaller format&lt;/b&gt;, at the same framing and f-number, gives more depth, because it needs a shorter lens, even though its circle of confusion is smaller.&lt;/li&gt;
&lt;/ul&gt;

&lt;h3&gt;In front and behind&lt;/h3&gt;
&lt;p&gt;At moderate distances the zone reaches about twice as far behind the focused subject as in front of it, the familiar rule of one third in front and two thirds behind. The rule holds only there: in the close-up range the zone is nearly equal in front and behind, and as the focusing distance nears the hyperfocal distance the part behind grows without bound.&lt;/p&gt;

&lt;h3&gt;Limits of stopping down&lt;/h3&gt;
&lt;p&gt;Very small apertures soften the whole picture through diffraction. On 35&amp;#160;mm and smaller formats this becomes visible from about f/11 to f/16 on, so the smallest aperture is not always the sharpest choice.&lt;/p&gt;
&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;body style=&quot;font-size:10pt&quot;&gt;
&lt;h2&gt;Schärfentiefe&lt;/h2&gt;
&lt;p&gt;Ein Objektiv bildet genau nur eine Ebene scharf ab. Ein Punkt vor oder hinter dieser Ebene wird nicht als Punkt, sondern als kleines Unschärfescheibchen abgebildet. Solange dieses Scheibchen im fertigen Bild zu klein ist, um als Unschärfe aufzufallen, wirkt der Punkt noch scharf. Die &lt;b&gt;Schärfentiefe&lt;/b&gt; ist der Entfernungsbereich, von einer Nahgrenze bis zu einer Ferngrenze, in dem das gilt. Der Übergang von scharf zu unscharf ist fließend: Die Grenzen markieren, wo die Unschärfe eine vereinbarte Größe erreicht, keine harte Kante.&lt;/p&gt;

&lt;h3&gt;Zerstreuungskreis&lt;/h3&gt;
&lt;p&gt;Das größte Unschärfescheibchen, das noch als Punkt durchgeht, ist der &lt;b&gt;Zerstreuungskreis&lt;/b&gt; (Unschärfekreis), &lt;i&gt;c&lt;/i&gt;. Er hängt davon ab, wie stark das Bild vergrößert und aus welcher Entfernung es betrachtet wird. Für einen Abzug von etwa 20&amp;#160;×&amp;#160;25&amp;#160;cm, aus Leseentfernung betrachtet, nimmt eine verbreitete Regel die Formatdiagonale geteilt durch etwa 1500:&lt;/p&gt;
&lt;ul&gt;
&lt;li&gt;35-mm-Kleinbildfilm und Vollformat digital (36&amp;#160;×&amp;#160;24&amp;#160;mm): etwa 30&amp;#160;µm; gebräuchlich sind Werte von 29 bis 33&amp;#160;µm.&lt;/li&gt;
&lt;li&gt;APS-C digital (etwa 24&amp;#160;×&amp;#160;16&amp;#160;mm): etwa 20&amp;#160;µm.&lt;/li&gt;
&lt;li&gt;Mittelformat (6&amp;#160;×&amp;#160;4.5 bis 6&amp;#160;×&amp;#160;7&amp;#160;cm): etwa 45 bis 60&amp;#160;µm, bei größeren Filmformaten noch mehr.&lt;/li&gt;
&lt;/ul&gt;
&lt;p&gt;Starke Vergrößerungen oder nahes Betrachten verlangen einen kleineren Kreis; kleine Abzüge verzeihen einen größeren.&lt;/p&gt;

&lt;h3&gt;Formeln&lt;/h3&gt;
&lt;p&gt;Mit der Brennweite &lt;i&gt;f&lt;/i&gt;, der Blendenzahl &lt;i&gt;N&lt;/i&gt;, dem Zerstreuungskreis &lt;i&gt;c&lt;/i&gt; und der Einstellentfernung &lt;i&gt;s&lt;/i&gt;, alle in derselben Einheit und &lt;i&gt;s&lt;/i&gt; vom Objektiv aus gemessen:&lt;/p&gt;
&lt;ul&gt;
&lt;li&gt;Hyperfokale Distanz: &lt;i&gt;H&lt;/i&gt; = &lt;i&gt;f&lt;/i&gt;²&amp;#160;/&amp;#160;(&lt;i&gt;N&lt;/i&gt;·&lt;i&gt;c&lt;/i&gt;) + &lt;i&gt;f&lt;/i&gt;&lt;/li&gt;
&lt;li&gt;Nahgrenze: &lt;i&gt;s&lt;/i&gt;·(&lt;i&gt;H&lt;/i&gt; − &lt;i&gt;f&lt;/i&gt;)&amp;#160;/&amp;#160;(&lt;i&gt;H&lt;/i&gt; + &lt;i&gt;s&lt;/i&gt; − 2&lt;i&gt;f&lt;/i&gt;)&lt;/li&gt;
&lt;li&gt;Ferngrenze: &lt;i&gt;s&lt;/i&gt;·(&lt;i&gt;H&lt;/i&gt; − &lt;i&gt;f&lt;/i&gt;)&amp;#160;/&amp;#160;(&lt;i&gt;H&lt;/i&gt; − &lt;i&gt;s&lt;/i&gt;), und unendlich, wenn &lt;i&gt;s&lt;/i&gt; ≥ &lt;i&gt;H&lt;/i&gt;&lt;/li&gt;
&lt;/ul&gt;
&lt;p&gt;Das sind Formeln für dünne Linsen. Bei gewöhnlichen Entfernungen taugen sie gut; im Nahbereich weichen echte Objektive von ihnen ab.&lt;/p&gt;

&lt;h3&gt;Hyperfokale Distanz&lt;/h3&gt;
&lt;p&gt;Auf die hyperfokale Distanz &lt;i&gt;H&lt;/i&gt; eingestellt, bildet ein Objektiv alles von etwa &lt;i&gt;H&lt;/i&gt;/2 bis unendlich ausreichend scharf ab. Ein 50-mm-Objektiv bei f/8 mit &lt;i&gt;c&lt;/i&gt; = 30&amp;#160;µm hat &lt;i&gt;H&lt;/i&gt; ≈ 10.5&amp;#160;m: Darauf eingestellt, ist es von etwa 5.2&amp;#160;m bis unendlich scharf.&lt;/p&gt;

&lt;h3&gt;Was die Schärfentiefe verändert&lt;/h3&gt;
&lt;p&gt;Deutlich diesseits der hyperfokalen Distanz beträgt die gesamte Tiefe ungefähr 2·&lt;i&gt;N&lt;/i&gt;·&lt;i&gt;c&lt;/i&gt;·&lt;i&gt;s&lt;/i&gt;²&amp;#160;/&amp;#160;&lt;i&gt;f&lt;/i&gt;². Daraus folgt:&lt;/p&gt;
&lt;ul&gt;
&lt;li&gt;&lt;b&gt;Abblenden&lt;/b&gt; (eine größere Blendenzahl) vertieft den Bereich etwa im Verhältnis der Blendenzahl.&lt;/li&gt;
&lt;li&gt;&lt;b&gt;Eine längere Brennweite&lt;/b&gt; macht ihn bei gleicher Entfernung flacher, etwa mit dem Quadrat der Brennweite: Bei 3&amp;#160;m und f/8 ergibt ein 50-mm-Objektiv etwa 1.85&amp;#160;m Tiefe, ein 100-mm-Objektiv etwa 0.42&amp;#160;m.&lt;/li&gt;
&lt;li&gt;&lt;b&gt;Näher einstellen&lt;/b&gt; macht ihn flacher, etwa mit dem Quadrat der Entfernung: Die halbe Entfernung ergibt etwa ein Viertel der Tiefe.&lt;/li&gt;
&lt;li&gt;&lt;b&gt;Gleicher Bildausschnitt:&lt;/b&gt; Behält das Motiv seine Größe im Bild, ist die Tiefe bei gegebener Blendenzahl für jede Brennweite nahezu gleich; nur die Unschärfe des fernen Hintergrunds unterscheidet sich.&lt;/li&gt;
&lt;li&gt;&lt;b&gt;Ein kleineres Format&lt;/b&gt; ergibt bei gleichem Ausschnitt und gleicher Blendenzahl mehr Tiefe, weil es eine kürzere Brennweite braucht, obwohl sein Zerstreuungskreis kleiner ist.&lt;/li&gt;
&lt;/ul&gt;

&lt;h3&gt;Davor und dahinter&lt;/h3&gt;
&lt;p&gt;Bei mittleren Entfernungen reicht der Bereich hinter dem scharf gestellten Motiv etwa doppelt so weit wie davor, die bekannte Regel von einem Drittel davor und zwei Dritteln dahinter. Die Regel gilt nur dort: Im Nahbereich ist der Bereich davor und dahinter nahezu gleich, und wenn sich die Einstellentfernung der hyperfokalen Distanz nähert, wächst der Teil dahinter unbegrenzt.&lt;/p&gt;

&lt;h3&gt;Grenzen des Abblendens&lt;/h3&gt;
&lt;p&gt;Sehr kleine Blendenöffnungen machen durch Beugung das ganze Bild weicher. Bei Kleinbild und kleineren Formaten wird das etwa ab f/11 bis f/16 sichtbar, daher ist die kleinste Blende nicht immer die schärfste Wahl.&lt;/p&gt;
&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Quorlscope Help</source>
        <translation>Quorlscope-Hilfe</translation>
    </message>
    <message>
        <source>◀ Back</source>
        <translation>◀ Zurück</translation>
    </message>
    <message>
        <source>Back (Alt+Left)</source>
        <translation>Zurück (Alt+Links)</translation>
    </message>
    <message>
        <source>Alt+Left</source>
        <translation>Alt+Left</translation>
    </message>
    <message>
        <source>Forward ▶</source>
        <translation>Vorwärts ▶</translation>
    </message>
    <message>
        <source>Forward (Alt+Right)</source>
        <translation>Vorwärts (Alt+Rechts)</translation>
    </message>
    <message>
        <source>Alt+Right</source>
        <translation>Alt+Right</translation>
    </message>
</context>
<context>
    <name>Info</name>
    <message>
        <source>Quorlscope 1.0.0, depth-of-field tables for photographers</source>
        <extracomment>resources/Info.plist</extracomment>
        <translation>Quorlscope 1.0.0, Schärfentiefe-Tabellen für Fotografen</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Untitled </source>
        <translation>Unbenannt </translation>
    </message>
</context>
<context>
    <name>MenuBar</name>
    <message>
        <source>Quorlscope</source>
        <translation>Quorlscope</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Table</source>
        <translation>Tabelle</translation>
    </message>
    <message>
        <source>About Quorlscope</source>
        <translation>Über Quorlscope</translation>
    </message>
    <message>
        <source>Preferences…</source>
        <translation>Einstellungen…</translation>
    </message>
    <message>
        <source>Quit Quorlscope</source>
        <translation>Quorlscope beenden</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Open…</source>
        <translation>Öffnen…</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save As…</source>
        <translation>Speichern unter…</translation>
    </message>
    <message>
        <source>Revert</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Page Setup…</source>
        <translation>Seite einrichten…</translation>
    </message>
    <message>
        <source>Print…</source>
        <translation>Drucken…</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
    <message>
        <source>Compute Table…</source>
        <translation>Tabelle berechnen…</translation>
    </message>
    <message>
        <source>Depth of Field Facts</source>
        <translation>Wissenswertes zur Schärfentiefe</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Quorlscope Help</source>
        <translation>Quorlscope-Hilfe</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>Export…</source>
        <translation>Exportieren…</translation>
    </message>
    <message>
        <source>Focus Bracketing…</source>
        <translation>Fokusreihe…</translation>
    </message>
</context>
<context>
    <name>Navigation</name>
    <message>
        <source>%1 documents (*.%2)</source>
        <translation>%1-Dokumente (*.%2)</translation>
    </message>
    <message>
        <source>Do you want to save the changes you made in the document %1 before quitting?</source>
        <translation>Möchten Sie die Änderungen im Dokument %1 vor dem Beenden speichern?</translation>
    </message>
    <message>
        <source>Do you want to save the changes you made in the document %1?</source>
        <translation>Möchten Sie die Änderungen im Dokument %1 speichern?</translation>
    </message>
    <message>
        <source>Your changes will be lost if you don’t save them.</source>
        <translation>Ihre Änderungen gehen verloren, wenn Sie sie nicht speichern.</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Don’t Save</source>
        <translation>Nicht speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Do you want to discard the changes you made to the document %1?</source>
        <translation>Möchten Sie die Änderungen am Dokument %1 verwerfen?</translation>
    </message>
    <message>
        <source>The document goes back to its last saved version.</source>
        <translation>Das Dokument kehrt zu seiner zuletzt gespeicherten Version zurück.</translation>
    </message>
    <message>
        <source>Revert</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>You have %1 documents with unsaved changes. Do you want to review these changes before quitting?</source>
        <translation>Sie haben %1 Dokumente mit nicht gespeicherten Änderungen. Möchten Sie diese Änderungen vor dem Beenden prüfen?</translation>
    </message>
    <message>
        <source>If you don’t review your documents, all your changes will be lost.</source>
        <translation>Wenn Sie Ihre Dokumente nicht prüfen, gehen alle Ihre Änderungen verloren.</translation>
    </message>
    <message>
        <source>Review Changes…</source>
        <translation>Änderungen prüfen…</translation>
    </message>
    <message>
        <source>Discard Changes</source>
        <translation>Änderungen verwerfen</translation>
    </message>
    <message>
        <source>“%1”</source>
        <comment>a document&apos;s name quoted</comment>
        <translation>„%1“</translation>
    </message>
</context>
<context>
    <name>PrefWindow</name>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Distance unit:</source>
        <translation>Entfernungseinheit:</translation>
    </message>
    <message>
        <source>Unit of the distances in tables computed from now on</source>
        <translation>Einheit der Entfernungen in den ab jetzt berechneten Tabellen</translation>
    </message>
    <message>
        <source>Metres</source>
        <translation>Meter</translation>
    </message>
    <message>
        <source>Feet</source>
        <translation>Fuß</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Program</name>
    <message>
        <source>Cannot create new Document</source>
        <extracomment>document/document.cpp</extracomment>
        <translation>Neues Dokument kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>Could not load Resource</source>
        <extracomment>app/helpwindow.cpp</extracomment>
        <translation>Eine Ressource konnte nicht geladen werden</translation>
    </message>
    <message>
        <source>Could not open File</source>
        <extracomment>files/file.cpp</extracomment>
        <translation>Die Datei konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Could not open File, because the maximum number of documents are open</source>
        <extracomment>files/file.cpp</extracomment>
        <translation>Die Datei konnte nicht geöffnet werden, weil die Höchstzahl an Dokumenten geöffnet ist</translation>
    </message>
    <message>
        <source>Could not save the File You like to replace, it is in use</source>
        <extracomment>files/file.cpp</extracomment>
        <translation>Die Datei, die Sie ersetzen möchten, ist in Gebrauch und konnte nicht gespeichert werden</translation>
    </message>
    <message>
        <source>Could not save the file because the Volume is locked</source>
        <extracomment>files/appinfo.cpp</extracomment>
        <translation>Die Datei konnte nicht gespeichert werden, weil das Volume geschützt ist</translation>
    </message>
    <message>
        <source>Could not write Copy</source>
        <extracomment>files/file.cpp</extracomment>
        <translation>Die Kopie konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>InitDocErr</source>
        <extracomment>document/document.cpp</extracomment>
        <translation>InitDocErr</translation>
    </message>
    <message>
        <source>Nameless Application</source>
        <extracomment>app/aboutwindow.cpp</extracomment>
        <translation>Namenloses Programm</translation>
    </message>
    <message>
        <source>Please Check Your Arguments!</source>
        <extracomment>app/tablewindow.cpp</extracomment>
        <translation>Bitte prüfen Sie Ihre Angaben!</translation>
    </message>
    <message>
        <source>Please choose another name</source>
        <extracomment>files/file.cpp</extracomment>
        <translation>Bitte wählen Sie einen anderen Namen</translation>
    </message>
    <message>
        <source>Please close some documents</source>
        <extracomment>files/file.cpp</extracomment>
        <translation>Bitte schließen Sie einige Dokumente</translation>
    </message>
    <message>
        <source>Please reinstall Your Application</source>
        <extracomment>app/helpwindow.cpp</extracomment>
        <translation>Bitte installieren Sie das Programm neu</translation>
    </message>
    <message>
        <source>Try to choose another Volume</source>
        <extracomment>files/appinfo.cpp</extracomment>
        <translation>Versuchen Sie ein anderes Volume</translation>
    </message>
    <message>
        <source>distance in ft: </source>
        <extracomment>app/tablewindow.cpp</extracomment>
        <translation>Entfernung in ft: </translation>
    </message>
    <message>
        <source>distance in m: </source>
        <extracomment>app/tablewindow.cpp</extracomment>
        <translation>Entfernung in m: </translation>
    </message>
    <message>
        <source>Could not save the file</source>
        <extracomment>files/appinfo.cpp</extracomment>
        <translation>Die Datei konnte nicht gespeichert werden</translation>
    </message>
    <message>
        <source>Your choice could not be saved</source>
        <extracomment>app/prefwindow.cpp</extracomment>
        <translation>Ihre Wahl konnte nicht gespeichert werden</translation>
    </message>
    <message>
        <source>no document could be made for it</source>
        <extracomment>files/file.cpp</extracomment>
        <translation>es konnte kein Dokument dafür angelegt werden</translation>
    </message>
    <message>
        <source>The file “%1” could not be read: %2.</source>
        <extracomment>files/file.cpp</extracomment>
        <translation>Die Datei „%1“ konnte nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>The file “%1” could not be written: %2.
It keeps its previous contents.</source>
        <extracomment>files/appinfo.cpp</extracomment>
        <translation>Die Datei „%1“ konnte nicht geschrieben werden: %2.
Sie behält ihren bisherigen Inhalt.</translation>
    </message>
    <message>
        <source>The focal length should be in the range of 4..1000 mm,
the distance from two times of focal length to 1000 m,
and the circle of confusion in the range of 1..1000 µm.</source>
        <extracomment>app/tablewindow.cpp</extracomment>
        <translation>Die Brennweite sollte zwischen 4 und 1000 mm liegen,
die Entfernung zwischen der doppelten Brennweite und 1000 m
und der Zerstreuungskreis zwischen 1 und 1000 µm.</translation>
    </message>
    <message>
        <source>The preferences file “%1” could not be written: %2.
The choice holds until the application quits.</source>
        <extracomment>app/prefwindow.cpp</extracomment>
        <translation>Die Einstellungsdatei „%1“ konnte nicht geschrieben werden: %2.
Die Wahl gilt, bis das Programm beendet wird.</translation>
    </message>
    <message>
        <source>Can not setup printing!</source>
        <extracomment>print/printing.cpp</extracomment>
        <translation>Das Drucken kann nicht eingerichtet werden!</translation>
    </message>
    <message>
        <source>Printing Setup Error</source>
        <extracomment>print/printing.cpp</extracomment>
        <translation>Fehler beim Einrichten des Druckens</translation>
    </message>
    <message>
        <source>Could not open “%1”</source>
        <extracomment>app/opendocuments.cpp</extracomment>
        <translation>„%1“ konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>It cannot be read: %1</source>
        <extracomment>app/opendocuments.cpp</extracomment>
        <translation>Die Datei kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>It is not a file: %1</source>
        <extracomment>app/opendocuments.cpp</extracomment>
        <translation>Das ist keine Datei: %1</translation>
    </message>
    <message>
        <source>There is no such file: %1</source>
        <extracomment>app/opendocuments.cpp</extracomment>
        <translation>Diese Datei gibt es nicht: %1</translation>
    </message>
    <message>
        <source>You are not allowed to read it: %1</source>
        <extracomment>app/opendocuments.cpp</extracomment>
        <translation>Sie dürfen diese Datei nicht lesen: %1</translation>
    </message>
    <message>
        <source>Airy disc (µm)</source>
        <extracomment>print/pdfexport.cpp</extracomment>
        <translation>Beugungs­scheibchen (µm)</translation>
    </message>
    <message>
        <source>Aperture</source>
        <extracomment>print/pdfexport.cpp</extracomment>
        <translation>Blende</translation>
    </message>
    <message>
        <source>Behind</source>
        <extracomment>print/pdfexport.cpp</extracomment>
        <translation>Dahinter</translation>
    </message>
    <message>
        <source>Behind / in front</source>
        <extracomment>print/pdfexport.cpp</extracomment>
        <translation>Dahinter / davor</translation>
    </message>
    <message>
        <source>Could not export the table</source>
        <extracomment>files/export.cpp</extracomment>
        <translation>Die Tabelle konnte nicht exportiert werden</translation>
    </message>
    <message>
        <source>Diffraction</source>
        <extracomment>print/pdfexport.cpp</extracomment>
        <translation>Beugung</translation>
    </message>
    <message>
        <source>Figures per aperture; distances in feet.</source>
        <extracomment>print/pdfexport.cpp</extracomment>
        <translation>Werte je Blende; Entfernungen in Fuß.</translation>
    </message>
    <message>
        <source>Figures per aperture; distances in metres.</source>
        <extracomment>print/pdfexport.cpp</extracomment>
        <translation>Werte je Blende; Entfernungen in Metern.</translation>
    </message>
    <message>
        <source>Hyperfocal distance</source>
        <extracomment>print/pdfexport.cpp</extracomment>
        <translation>Hyperfokale Distanz</translation>
    </message>
    <message>
        <source>In front</source>
        <extracomment>print/pdfexport.cpp</extracomment>
        <translation>Davor</translation>
    </message>
    <message>
        <source>No table has been computed.</source>
        <extracomment>print/pdfexport.cpp</extracomment>
        <translation>Es wurde keine Tabelle berechnet.</translation>
    </message>
    <message>
        <source>The file “%1” could not be written: %2.</source>
        <extracomment>files/export.cpp</extracomment>
        <translation>Die Datei „%1“ konnte nicht geschrieben werden: %2.</translation>
    </message>
    <message>
        <source>Total depth</source>
        <extracomment>print/pdfexport.cpp</extracomment>
        <translation>Gesamttiefe</translation>
    </message>
    <message>
        <source>its contents could not be made</source>
        <extracomment>files/export.cpp</extracomment>
        <translation>ihr Inhalt ließ sich nicht erzeugen</translation>
    </message>
    <message>
        <source>softens</source>
        <extracomment>print/pdfexport.cpp</extracomment>
        <translation>weicher</translation>
    </message>
    <message>
        <source>Could not export the plan</source>
        <translation>Die Fokusreihe konnte nicht exportiert werden</translation>
    </message>
    <message>
        <source>The focal length should be in the range of 4..1000 mm.</source>
        <translation>Die Brennweite sollte zwischen 4 und 1000 mm liegen.</translation>
    </message>
    <message>
        <source>The circle of confusion should be in the range of 1..1000 µm.</source>
        <translation>Der Zerstreuungskreis sollte zwischen 1 und 1000 µm liegen.</translation>
    </message>
    <message>
        <source>The f-number should be in the range of 1..64.</source>
        <translation>Die Blendenzahl sollte zwischen 1 und 64 liegen.</translation>
    </message>
    <message>
        <source>The near limit should be at least two times the focal length.</source>
        <translation>Die Nahgrenze sollte mindestens die doppelte Brennweite betragen.</translation>
    </message>
    <message>
        <source>The near limit should be at most 1000 m (3280.84 ft).</source>
        <translation>Die Nahgrenze sollte höchstens 1000 m (3280,84 ft) betragen.</translation>
    </message>
    <message>
        <source>The far limit should be beyond the near limit.</source>
        <translation>Die Ferngrenze sollte jenseits der Nahgrenze liegen.</translation>
    </message>
    <message>
        <source>The overlap should be in the range of 0..0.9.</source>
        <translation>Die Überlappung sollte zwischen 0 und 0,9 liegen.</translation>
    </message>
    <message>
        <source>The plan would need more than 99 shots: choose a smaller aperture (a larger f-number), a smaller overlap or a farther near limit.</source>
        <translation>Die Reihe bräuchte mehr als 99 Aufnahmen: Wählen Sie eine kleinere Blende (eine größere Blendenzahl), eine kleinere Überlappung oder eine fernere Nahgrenze.</translation>
    </message>
    <message>
        <source>hyperfocal %1 %2</source>
        <extracomment>print/bracketingcard.cpp</extracomment>
        <translation>hyperfokal %1 %2</translation>
    </message>
    <message>
        <source>Focus Bracketing</source>
        <extracomment>print/bracketingcard.cpp</extracomment>
        <translation>Fokusreihe</translation>
    </message>
    <message>
        <source>%1, focal length %2 mm, f/%3, circle of confusion %4 µm</source>
        <extracomment>print/bracketingcard.cpp</extracomment>
        <translation>%1, Brennweite %2 mm, f/%3, Zerstreuungskreis %4 µm</translation>
    </message>
    <message>
        <source>Scene from %1 %2 to %3, overlap %4</source>
        <extracomment>print/bracketingcard.cpp</extracomment>
        <translation>Szene von %1 %2 bis %3, Überlappung %4</translation>
    </message>
    <message>
        <source>Hyperfocal distance %1 %2, shots: %3</source>
        <extracomment>print/bracketingcard.cpp</extracomment>
        <translation>Hyperfokale Distanz %1 %2, Aufnahmen: %3</translation>
    </message>
    <message>
        <source>Shot</source>
        <extracomment>print/bracketingcard.cpp</extracomment>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Focus</source>
        <extracomment>print/bracketingcard.cpp</extracomment>
        <translation>Fokus</translation>
    </message>
    <message>
        <source>Near</source>
        <extracomment>print/bracketingcard.cpp</extracomment>
        <translation>Nah</translation>
    </message>
    <message>
        <source>Far</source>
        <extracomment>print/bracketingcard.cpp</extracomment>
        <translation>Fern</translation>
    </message>
</context>
<context>
    <name>Sheet</name>
    <message>
        <source>APS-C digital</source>
        <translation>APS-C digital</translation>
    </message>
    <message>
        <source>Full-frame digital</source>
        <translation>Vollformat digital</translation>
    </message>
    <message>
        <source>35 mm film</source>
        <translation>35-mm-Film</translation>
    </message>
    <message>
        <source>Medium format</source>
        <translation>Mittelformat</translation>
    </message>
    <message>
        <source>Digital camera</source>
        <translation>Digitalkamera</translation>
    </message>
    <message>
        <source>Dist. (ft):</source>
        <translation>Entf. (ft):</translation>
    </message>
    <message>
        <source>Dist. (m):</source>
        <translation>Entf. (m):</translation>
    </message>
    <message>
        <source>Near limit (ft)</source>
        <translation>Nahgrenze (ft)</translation>
    </message>
    <message>
        <source>Near limit (m)</source>
        <translation>Nahgrenze (m)</translation>
    </message>
    <message>
        <source>Far limit (ft)</source>
        <translation>Ferngrenze (ft)</translation>
    </message>
    <message>
        <source>Far limit (m)</source>
        <translation>Ferngrenze (m)</translation>
    </message>
    <message>
        <source>Focal length:</source>
        <translation>Brennweite:</translation>
    </message>
    <message>
        <source>Distance:</source>
        <translation>Entfernung:</translation>
    </message>
    <message>
        <source>Conf. circle (µm):</source>
        <translation>Unschärfekreis (µm):</translation>
    </message>
    <message>
        <source>Camera:</source>
        <translation>Kamera:</translation>
    </message>
    <message>
        <source>Aperture</source>
        <translation>Blende</translation>
    </message>
    <message>
        <source>Near limit</source>
        <translation>Nahgrenze</translation>
    </message>
    <message>
        <source>Far limit</source>
        <translation>Ferngrenze</translation>
    </message>
</context>
<context>
    <name>TableWindow</name>
    <message>
        <source>Compute Table</source>
        <translation>Tabelle berechnen</translation>
    </message>
    <message>
        <source>distance in m: </source>
        <translation>Entfernung in m: </translation>
    </message>
    <message>
        <source>focal length in mm:</source>
        <translation>Brennweite in mm:</translation>
    </message>
    <message>
        <source>camera:</source>
        <translation>Kamera:</translation>
    </message>
    <message>
        <source>APS-C digital</source>
        <translation>APS-C digital</translation>
    </message>
    <message>
        <source>Full-frame digital</source>
        <translation>Vollformat digital</translation>
    </message>
    <message>
        <source>35 mm film</source>
        <translation>35-mm-Film</translation>
    </message>
    <message>
        <source>Medium format</source>
        <translation>Mittelformat</translation>
    </message>
    <message>
        <source>circle of confusion in µm:</source>
        <translation>Zerstreuungskreis in µm:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Compute</source>
        <translation>Berechnen</translation>
    </message>
</context>
</TS>
