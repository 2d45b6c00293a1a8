<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Advice</name>
    <message>
        <source>This is a great buy for the price</source>
        <translation>Zu diesem Kurs ist die Aktie ein sehr guter Kauf</translation>
    </message>
    <message>
        <source>Wait for a while till the price goes down</source>
        <translation>Warten Sie eine Weile, bis der Kurs fällt</translation>
    </message>
    <message>
        <source>This is a great time to short this stock</source>
        <translation>Jetzt ist ein sehr guter Zeitpunkt für einen Leerverkauf dieser Aktie</translation>
    </message>
    <message>
        <source>Buy this stock aggressively for a great gain</source>
        <translation>Kaufen Sie diese Aktie offensiv für einen hohen Gewinn</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Save a PNG of the main window and quit.</source>
        <translation>Ein PNG-Bild des Hauptfensters speichern und beenden.</translation>
    </message>
    <message>
        <source>Root address of the maker&apos;s web site.</source>
        <translation>Stammadresse der Website des Herstellers.</translation>
    </message>
    <message>
        <source>The market database file to use.</source>
        <translation>Die zu verwendende Marktdatenbank-Datei.</translation>
    </message>
    <message>
        <source>Also open the browser window on URL.</source>
        <translation>Zusätzlich das Browserfenster mit URL öffnen.</translation>
    </message>
    <message>
        <source>Go on from the main window to SCREEN (such as frmHoldings).</source>
        <translation>Vom Hauptfenster aus zu SCREEN weitergehen (etwa frmHoldings).</translation>
    </message>
    <message>
        <source>With --open frmHoldings or frmScorecard: write that screen&apos;s report as a PDF file and quit, without a display.</source>
        <translation>Mit --open frmHoldings oder frmScorecard: den Bericht dieses Fensters als PDF-Datei schreiben und beenden, ohne Bildschirm.</translation>
    </message>
</context>
<context>
    <name>Config</name>
    <message>
        <source>The program cannot tell where your market database is: the environment variable HOME is not set, so there is no home folder to keep it in.

Start the program with HOME set to your home folder, or name the file with the option --database PATH.</source>
        <translation>Das Programm kann nicht feststellen, wo Ihre Marktdatenbank liegt: Die Umgebungsvariable HOME ist nicht gesetzt, es gibt also keinen persönlichen Ordner für sie.

Starten Sie das Programm mit HOME auf Ihrem persönlichen Ordner, oder nennen Sie die Datei mit der Option --database PATH.</translation>
    </message>
</context>
<context>
    <name>Databases</name>
    <message>
        <source>Market databases (*.db);;All files (*)</source>
        <translation>Marktdatenbanken (*.db);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>New Database</source>
        <translation>Neue Datenbank</translation>
    </message>
    <message>
        <source>Create the market database
%1

The sample database holds stocks, analysts and index figures to try every screen on; the empty one is ready for your own.</source>
        <translation>Die Marktdatenbank
%1
anlegen?

Die Beispieldatenbank enthält Aktien, Analysten und Indexwerte, um jedes Fenster auszuprobieren; die leere ist bereit für Ihre eigenen.</translation>
    </message>
    <message>
        <source>Open Database</source>
        <translation>Datenbank öffnen</translation>
    </message>
</context>
<context>
    <name>Desktop</name>
    <message>
        <source>There is no market database yet at
%1

Create it now? The sample database holds stocks, analysts and index figures to try every screen on; the empty one is ready for your own.

Cancel starts without a database; the command vantora-db create makes one later.</source>
        <translation>Unter
%1
gibt es noch keine Marktdatenbank.

Jetzt anlegen? Die Beispieldatenbank enthält Aktien, Analysten und Indexwerte, um jedes Fenster auszuprobieren; die leere ist bereit für Ihre eigenen.

Abbrechen startet ohne Datenbank; der Befehl vantora-db create legt später eine an.</translation>
    </message>
    <message>
        <source>

The program starts without a database.</source>
        <translation>

Das Programm startet ohne Datenbank.</translation>
    </message>
    <message>
        <source>Create Sample Database</source>
        <translation>Beispieldatenbank anlegen</translation>
    </message>
    <message>
        <source>Create Empty Database</source>
        <translation>Leere Datenbank anlegen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>… and %1 more lines: see Show Details.</source>
        <translation>… und %1 weitere Zeilen: siehe „Details einblenden“.</translation>
    </message>
</context>
<context>
    <name>Exchange</name>
    <message>
        <source>the header names this column twice (first as field %1)</source>
        <translation>die Kopfzeile nennt diese Spalte zweimal (zuerst als Feld %1)</translation>
    </message>
    <message>
        <source>the header names no &quot;Date&quot; column</source>
        <translation>die Kopfzeile nennt keine Spalte „Date“</translation>
    </message>
    <message>
        <source>the header names no &quot;Close&quot; column (nor &quot;Advances&quot; and &quot;Declines&quot;)</source>
        <translation>die Kopfzeile nennt keine Spalte „Close“ (auch nicht „Advances“ und „Declines“)</translation>
    </message>
    <message>
        <source>The market database &quot;%1&quot; could not be read</source>
        <translation>Die Marktdatenbank „%1“ konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>The market database &quot;%1&quot; has no table &quot;Prices&quot; yet: import prices with the program or vantora-db import-prices.</source>
        <translation>Die Marktdatenbank „%1“ hat noch keine Tabelle „Prices“: Importieren Sie Kurse mit dem Programm oder mit vantora-db import-prices.</translation>
    </message>
    <message>
        <source>The prices of %1 could not be read</source>
        <translation>Die Kurse von %1 konnten nicht gelesen werden</translation>
    </message>
    <message>
        <source>The forecaster&apos;s days could not be read</source>
        <translation>Die Tage der Prognose konnten nicht gelesen werden</translation>
    </message>
    <message>
        <source>
Nothing was imported; the database is as it was.</source>
        <translation>
Es wurde nichts importiert; die Datenbank ist unverändert.</translation>
    </message>
    <message>
        <source>&quot;%1&quot;, line %2, field &quot;%3&quot;</source>
        <translation>„%1“, Zeile %2, Feld „%3“</translation>
    </message>
    <message>
        <source>1 day</source>
        <translation>1 Tag</translation>
    </message>
    <message>
        <source>%1 days</source>
        <translation>%1 Tage</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be read: %2.</source>
        <translation>„%1“ konnte nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot;, line %2: %3.</source>
        <translation>„%1“, Zeile %2: %3.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is empty: its first line must name the columns.</source>
        <translation>„%1“ ist leer: Die erste Zeile muss die Spalten nennen.</translation>
    </message>
    <message>
        <source>%1: %2, so it is no file of daily history this program reads (it needs Date and Close, or Date, Advances and Declines).</source>
        <translation>%1: %2, daher ist es keine Datei mit Tageskursen, die dieses Programm liest (es braucht Date und Close oder Date, Advances und Declines).</translation>
    </message>
    <message>
        <source>The import was cancelled.</source>
        <translation>Der Import wurde abgebrochen.</translation>
    </message>
    <message>
        <source>1 field</source>
        <translation>1 Feld</translation>
    </message>
    <message>
        <source>%1 fields</source>
        <translation>%1 Felder</translation>
    </message>
    <message>
        <source>%1: the record has %2, but the header names %3%4.</source>
        <translation>%1: Der Datensatz hat %2, die Kopfzeile nennt aber %3%4.</translation>
    </message>
    <message>
        <source> (is the file cut off?)</source>
        <translation> (ist die Datei abgeschnitten?)</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is no number; write numbers as 1234.56.</source>
        <translation>%1: „%2“ ist keine Zahl; schreiben Sie Zahlen als 1234.56.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is below zero; no price, volume or count is.</source>
        <translation>%1: „%2“ ist kleiner als null; kein Kurs, Volumen oder Zähler ist das.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is beyond any price, volume or count (at most 1e15).</source>
        <translation>%1: „%2“ übersteigt jeden Kurs, jedes Volumen und jeden Zähler (höchstens 1e15).</translation>
    </message>
    <message>
        <source>%1: the high %2 is below the low %3.</source>
        <translation>%1: Das Hoch %2 liegt unter dem Tief %3.</translation>
    </message>
    <message>
        <source>%1: the close %2 lies outside the day&apos;s range (low %3, high %4).</source>
        <translation>%1: Der Schlusskurs %2 liegt außerhalb der Tagesspanne (Tief %3, Hoch %4).</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keins</translation>
    </message>
    <message>
        <source>%1: %2 is also given by &quot;%3&quot;, line %4, with other figures; which are right cannot be told.</source>
        <translation>%1: %2 steht auch in „%3“, Zeile %4, mit anderen Werten; welche richtig sind, lässt sich nicht sagen.</translation>
    </message>
    <message>
        <source>%1: the record names no symbol; every record of a file with this column needs one.</source>
        <translation>%1: Der Datensatz nennt kein Symbol; jeder Datensatz einer Datei mit dieser Spalte braucht eines.</translation>
    </message>
    <message>
        <source>%1: the record names no symbol; give one with --ticker.</source>
        <translation>%1: Der Datensatz nennt kein Symbol; geben Sie eines mit --ticker an.</translation>
    </message>
    <message>
        <source>The table &quot;Prices&quot; could not be read (%1).</source>
        <translation>Die Tabelle „Prices“ konnte nicht gelesen werden (%1).</translation>
    </message>
    <message>
        <source>%1: %2 of %3 is given twice with different figures (first on line %4); which are right cannot be told.</source>
        <translation>%1: %2 von %3 steht zweimal mit verschiedenen Werten da (zuerst in Zeile %4); welche richtig sind, lässt sich nicht sagen.</translation>
    </message>
    <message>
        <source>%1: %2 of %3 is also given by &quot;%4&quot;, line %5, with other figures; which are right cannot be told.</source>
        <translation>%1: %2 von %3 steht auch in „%4“, Zeile %5, mit anderen Werten; welche richtig sind, lässt sich nicht sagen.</translation>
    </message>
    <message>
        <source>The table &quot;Prices&quot; could not be written (%1).</source>
        <translation>Die Tabelle „Prices“ konnte nicht geschrieben werden (%1).</translation>
    </message>
    <message>
        <source>&quot;%1&quot;, line %2: the day could not be stored (%3).</source>
        <translation>„%1“, Zeile %2: Der Tag konnte nicht gespeichert werden (%3).</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is no date; write dates as 2026-12-07 or 20261207.</source>
        <translation>%1: „%2“ ist kein Datum; schreiben Sie Daten als 2026-12-07 oder 20261207.</translation>
    </message>
    <message>
        <source>The stocks could not be updated</source>
        <translation>Die Aktien konnten nicht aktualisiert werden</translation>
    </message>
    <message>
        <source>The table &quot;Forecaster&quot; could not be written</source>
        <translation>Die Tabelle „Forecaster“ konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>The table &quot;Forecaster&quot; could not be read</source>
        <translation>Die Tabelle „Forecaster“ konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>Imported %1 of %2 from %3</source>
        <translation>%1 von %2 aus %3 importiert</translation>
    </message>
    <message>
        <source>no symbol</source>
        <translation>keinem Symbol</translation>
    </message>
    <message>
        <source>1 file</source>
        <translation>1 Datei</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 Dateien</translation>
    </message>
    <message>
        <source>; %1 without figures skipped</source>
        <translation>; %1 ohne Werte übersprungen</translation>
    </message>
    <message>
        <source>; updated %1</source>
        <translation>; %1 aktualisiert</translation>
    </message>
    <message>
        <source>1 stock</source>
        <translation>1 Aktie</translation>
    </message>
    <message>
        <source>%1 stocks</source>
        <translation>%1 Aktien</translation>
    </message>
    <message>
        <source> and the inputs of %1 forecaster days</source>
        <translation> und die Eingaben von %1 Prognosetagen</translation>
    </message>
    <message>
        <source>; advances and declines of %1 days</source>
        <translation>; Gewinner und Verlierer von %1 Tagen</translation>
    </message>
    <message>
        <source>; the forecasts of %1 worked out again from their new inputs</source>
        <translation>; die Prognosen von %1 aus ihren neuen Eingaben neu berechnet</translation>
    </message>
    <message>
        <source>1 record</source>
        <translation>1 Datensatz</translation>
    </message>
    <message>
        <source>%1 records</source>
        <translation>%1 Datensätzen</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; is not a market database</source>
        <translation>Die Datei „%1“ ist keine Marktdatenbank</translation>
    </message>
    <message>
        <source>The market database &quot;%1&quot; has no table &quot;Prices&quot;: it is of an older version, and could not be brought up to date (that needs its backup first, and a file that may be written).</source>
        <translation>Die Marktdatenbank „%1“ hat keine Tabelle „Prices“: Sie stammt aus einer älteren Version und konnte nicht auf den neuesten Stand gebracht werden (dazu braucht es zuerst eine Sicherung und eine beschreibbare Datei).</translation>
    </message>
    <message>
        <source>The market database &quot;%1&quot; could not be written</source>
        <translation>Die Marktdatenbank „%1“ konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>The stocks could not be read</source>
        <translation>Die Aktien konnten nicht gelesen werden</translation>
    </message>
    <message>
        <source>The prices could not be read (%1).</source>
        <translation>Die Kurse konnten nicht gelesen werden (%1).</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no trades: its table &quot;Trades&quot; comes with the program&apos;s next opening of it.</source>
        <translation>„%1“ hat keine Transaktionen: Die Tabelle „Trades“ kommt hinzu, wenn das Programm die Datei das nächste Mal öffnet.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no trades; import some with vantora-db import-trades or the Trades window.</source>
        <translation>„%1“ hat keine Transaktionen; importieren Sie welche mit vantora-db import-trades oder im Fenster Transaktionen.</translation>
    </message>
    <message>
        <source>%1 has no trades.</source>
        <translation>%1 hat keine Transaktionen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no trades on or before %2.</source>
        <translation>„%1“ hat keine Transaktionen am oder vor dem %2.</translation>
    </message>
    <message>
        <source>%1: the header has no such column, so it is no file of trades (it needs Date, Symbol, Action, Shares and Price).</source>
        <translation>%1: Die Kopfzeile hat keine solche Spalte, daher ist es keine Datei mit Transaktionen (sie braucht Date, Symbol, Action, Shares und Price).</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is no date; write dates as 2026-12-07.</source>
        <translation>%1: „%2“ ist kein Datum; schreiben Sie Daten als 2026-12-07.</translation>
    </message>
    <message>
        <source>%1: the record names no stock.</source>
        <translation>%1: Der Datensatz nennt keine Aktie.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is no action; write Buy, Sell, Dividend or Split.</source>
        <translation>%1: „%2“ ist keine Art; schreiben Sie Buy, Sell, Dividend oder Split.</translation>
    </message>
    <message>
        <source>%1 and on: %2; a sale cannot sell more shares than are held on its day.</source>
        <translation>%1 und danach: %2; ein Verkauf kann nicht mehr Aktien verkaufen, als an seinem Tag im Bestand sind.</translation>
    </message>
    <message>
        <source>The market database &quot;%1&quot; has no table &quot;Trades&quot;: it is of an older version, and could not be brought up to date (that needs its backup first, and a file that may be written).</source>
        <translation>Die Marktdatenbank „%1“ hat keine Tabelle „Trades“: Sie stammt aus einer älteren Version und konnte nicht auf den neuesten Stand gebracht werden (dazu braucht es zuerst eine Sicherung und eine beschreibbare Datei).</translation>
    </message>
    <message>
        <source>Imported %1 of %2 from %3, replacing %4; set the shares and average cost of %5.</source>
        <translation>%1 von %2 aus %3 importiert, dabei %4 ersetzt; Stückzahl und Einstandskurs von %5 gesetzt.</translation>
    </message>
    <message>
        <source>1 trade</source>
        <translation>1 Transaktion</translation>
    </message>
    <message>
        <source>%1 trades</source>
        <translation>%1 Transaktionen</translation>
    </message>
    <message>
        <source>no stock</source>
        <translation>keiner Aktie</translation>
    </message>
    <message>
        <source>1 stored one</source>
        <translation>1 gespeicherte</translation>
    </message>
    <message>
        <source>%1 stored ones</source>
        <translation>%1 gespeicherte</translation>
    </message>
    <message>
        <source>The table &quot;Prices&quot; could not be written</source>
        <translation>Die Tabelle „Prices“ konnte nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>Form11</name>
    <message>
        <source>Vantora Market Pro</source>
        <translation>Vantora Market Pro</translation>
    </message>
    <message>
        <source>&amp;Please Click Here For Important Information</source>
        <translation>&amp;Bitte hier klicken für wichtige Informationen</translation>
    </message>
    <message>
        <source>Fi&amp;le</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>&amp;Financial Planner</source>
        <translation>&amp;Finanzplaner</translation>
    </message>
    <message>
        <source>&amp;Stocks</source>
        <translation>&amp;Aktien</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Disclaimer</source>
        <translation>&amp;Haftungsausschluss</translation>
    </message>
    <message>
        <source>&amp;Visit Our Website</source>
        <translation>&amp;Unsere Website besuchen</translation>
    </message>
    <message>
        <source>&amp;Get a Free PhoneCard</source>
        <translation>&amp;Gratis-Telefonkarte holen</translation>
    </message>
    <message>
        <source>&amp;New Database…</source>
        <translation>&amp;Neue Datenbank…</translation>
    </message>
    <message>
        <source>&amp;Open Database…</source>
        <translation>Datenbank ö&amp;ffnen…</translation>
    </message>
    <message>
        <source>&amp;Import Prices…</source>
        <translation>Kurse &amp;importieren…</translation>
    </message>
    <message>
        <source>&amp;Update Prices</source>
        <translation>Kurse &amp;aktualisieren</translation>
    </message>
    <message>
        <source>Pr&amp;eferences…</source>
        <translation>&amp;Einstellungen…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Investment Planner</source>
        <translation>&amp;Anlageplaner</translation>
    </message>
    <message>
        <source>&amp;Dow Forecaster</source>
        <translation>&amp;Dow-Prognose</translation>
    </message>
    <message>
        <source>R&amp;etirement Planner</source>
        <translation>&amp;Ruhestandsplaner</translation>
    </message>
    <message>
        <source>&amp;Portfolio</source>
        <translation>&amp;Depot</translation>
    </message>
    <message>
        <source>&amp;Kestrel Targets</source>
        <translation>&amp;Kestrel-Kursziele</translation>
    </message>
    <message>
        <source>Popular &amp;Strategy</source>
        <translation>Beliebte &amp;Strategie</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>St&amp;art</translation>
    </message>
    <message>
        <source>Holdings &amp;Overview</source>
        <translation>Depot&amp;übersicht</translation>
    </message>
    <message>
        <source>&amp;Trades</source>
        <translation>&amp;Transaktionen</translation>
    </message>
    <message>
        <source>Forecast S&amp;corecard</source>
        <translation>&amp;Prognosebilanz</translation>
    </message>
    <message>
        <source>About &amp;Tallowby</source>
        <translation>Über &amp;Tallowby</translation>
    </message>
    <message>
        <source>He&amp;lp</source>
        <translation>&amp;Hilfe</translation>
    </message>
</context>
<context>
    <name>Form12</name>
    <message>
        <source>Portfolio</source>
        <translation>Depot</translation>
    </message>
    <message>
        <source>Stock Name</source>
        <translation>Name der Aktie</translation>
    </message>
    <message>
        <source>Ticker Symbol</source>
        <translation>Tickersymbol</translation>
    </message>
    <message>
        <source>Stock Price(C)</source>
        <translation>Kurs (aktuell)</translation>
    </message>
    <message>
        <source>Stock Price(B)</source>
        <translation>Kaufkurs</translation>
    </message>
    <message>
        <source>Earnings</source>
        <translation>Gewinn je Aktie</translation>
    </message>
    <message>
        <source>Shares</source>
        <translation>Stückzahl</translation>
    </message>
    <message>
        <source>Stock Info.</source>
        <translation>Aktieninfo</translation>
    </message>
    <message>
        <source>Analysis</source>
        <translation>Analyse</translation>
    </message>
    <message>
        <source>&amp;P/E Ratio(C)</source>
        <translation>&amp;KGV (aktuell)</translation>
    </message>
    <message>
        <source>Profit/&amp;Loss</source>
        <translation>Gewinn/&amp;Verlust</translation>
    </message>
    <message>
        <source>&amp;Money Spent</source>
        <translation>&amp;Eingesetztes Geld</translation>
    </message>
    <message>
        <source>P/E &amp;Ratio(B)</source>
        <translation>K&amp;GV (Kaufkurs)</translation>
    </message>
    <message>
        <source>&amp;Kestrel Rating</source>
        <translation>Kestrel-&amp;Bewertung</translation>
    </message>
    <message>
        <source>Conclusions</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>&amp;Calculate</source>
        <translation>Be&amp;rechnen</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Find Stock</source>
        <translation>Aktie s&amp;uchen</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>&amp;Start</translation>
    </message>
</context>
<context>
    <name>Form13</name>
    <message>
        <source>Analysis</source>
        <translation>Analyse</translation>
    </message>
    <message>
        <source>Popular Strategy</source>
        <translation>Beliebte Strategie</translation>
    </message>
    <message>
        <source>Market analysts, the stocks they pick and how far to trust them</source>
        <translation>Marktanalysten, die Aktien, die sie empfehlen, und wie weit man ihnen trauen kann</translation>
    </message>
    <message>
        <source>Analyst&apos;s Name</source>
        <translation>Name des Analysten</translation>
    </message>
    <message>
        <source>Stock Picks</source>
        <translation>Aktienempfehlungen</translation>
    </message>
    <message>
        <source>Market Outlook</source>
        <translation>Marktausblick</translation>
    </message>
    <message>
        <source>Credibility</source>
        <translation>Glaubwürdigkeit</translation>
    </message>
    <message>
        <source>&amp;Add To Portfolio</source>
        <translation>Ins &amp;Depot übernehmen</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>Su&amp;chen</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>&amp;Start</translation>
    </message>
</context>
<context>
    <name>Form14</name>
    <message>
        <source>Kestrel Ratings</source>
        <translation>Kestrel-Bewertungen</translation>
    </message>
    <message>
        <source>Stock Name</source>
        <translation>Name der Aktie</translation>
    </message>
    <message>
        <source>Ticker Symbol</source>
        <translation>Tickersymbol</translation>
    </message>
    <message>
        <source>Earnings Last</source>
        <translation>Gewinn Vorjahr</translation>
    </message>
    <message>
        <source>Earnings This</source>
        <translation>Gewinn lfd. Jahr</translation>
    </message>
    <message>
        <source>Earnings Next</source>
        <translation>Gewinn Folgejahr</translation>
    </message>
    <message>
        <source>52 Week High</source>
        <translation>52-Wochen-Hoch</translation>
    </message>
    <message>
        <source>52-Week Low</source>
        <translation>52-Wochen-Tief</translation>
    </message>
    <message>
        <source>Price</source>
        <translation>Kurs</translation>
    </message>
    <message>
        <source>Analyst Rating</source>
        <translation>Analystenbewertung</translation>
    </message>
    <message>
        <source>Software Analysis</source>
        <translation>Programmanalyse</translation>
    </message>
    <message>
        <source>Conclusions</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>&amp;Stock Safety</source>
        <translation>Aktien&amp;sicherheit</translation>
    </message>
    <message>
        <source>Stock Safety</source>
        <translation>Aktiensicherheit</translation>
    </message>
    <message>
        <source>&amp;Growth </source>
        <translation>&amp;Wachstum </translation>
    </message>
    <message>
        <source>Growth</source>
        <translation>Wachstum</translation>
    </message>
    <message>
        <source>&amp;Market Cap.</source>
        <translation>&amp;Marktkapitalisierung</translation>
    </message>
    <message>
        <source>Market Cap.</source>
        <translation>Marktkapitalisierung</translation>
    </message>
    <message>
        <source>&amp;Overall Rating</source>
        <translation>&amp;Gesamtbewertung</translation>
    </message>
    <message>
        <source>Overall Rating</source>
        <translation>Gesamtbewertung</translation>
    </message>
    <message>
        <source>&amp;Buy Price/Target</source>
        <translation>Kauf&amp;kurs/Kursziel</translation>
    </message>
    <message>
        <source>Buy Price/Target</source>
        <translation>Kaufkurs/Kursziel</translation>
    </message>
    <message>
        <source>Find By &amp;Name</source>
        <translation>Nach N&amp;amen suchen</translation>
    </message>
    <message>
        <source>&amp;Calculate</source>
        <translation>&amp;Berechnen</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Find Stock</source>
        <translation>Aktie s&amp;uchen</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>S&amp;tart</translation>
    </message>
</context>
<context>
    <name>Form2</name>
    <message>
        <source>Investment Planner</source>
        <translation>Anlageplaner</translation>
    </message>
    <message>
        <source>Name of Stock</source>
        <translation>Name der Aktie</translation>
    </message>
    <message>
        <source>Ticker Symbol</source>
        <translation>Tickersymbol</translation>
    </message>
    <message>
        <source>Shares</source>
        <translation>Stückzahl</translation>
    </message>
    <message>
        <source>Price (C)</source>
        <translation>Kurs (aktuell)</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Predicted Price</source>
        <translation>Erwarteter Kurs</translation>
    </message>
    <message>
        <source>52 Wk Lo</source>
        <translation>52-W.-Tief</translation>
    </message>
    <message>
        <source>52 Wk Hi</source>
        <translation>52-W.-Hoch</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Advice</source>
        <translation>Empfehlung</translation>
    </message>
    <message>
        <source>Share Value</source>
        <translation>Wert der Aktien</translation>
    </message>
    <message>
        <source>&amp;Calculate</source>
        <translation>&amp;Berechnen</translation>
    </message>
    <message>
        <source>&amp;Buy</source>
        <translation>&amp;Kaufen</translation>
    </message>
    <message>
        <source>&amp;Sell</source>
        <translation>&amp;Verkaufen</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>Su&amp;chen</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>&amp;Start</translation>
    </message>
</context>
<context>
    <name>Form3</name>
    <message>
        <source>Dow ForeCaster</source>
        <translation>Dow-Prognose</translation>
    </message>
    <message>
        <source>Dow Forecaster</source>
        <translation>Dow-Prognose</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Advances</source>
        <translation>Gewinner</translation>
    </message>
    <message>
        <source>Declines</source>
        <translation>Verlierer</translation>
    </message>
    <message>
        <source>Dow Jones</source>
        <translation>Dow Jones</translation>
    </message>
    <message>
        <source>Nasdaq</source>
        <translation>Nasdaq</translation>
    </message>
    <message>
        <source>S And P 500</source>
        <translation>S&amp;&amp;P 500</translation>
    </message>
    <message>
        <source>Yesterday&apos;s Finish</source>
        <translation>Schlussstand gestern</translation>
    </message>
    <message>
        <source>Up/Down Points</source>
        <translation>Plus/Minus Punkte</translation>
    </message>
    <message>
        <source>Forecast Highs</source>
        <translation>Prognose Hoch</translation>
    </message>
    <message>
        <source>Forecast Lows</source>
        <translation>Prognose Tief</translation>
    </message>
    <message>
        <source>&amp;Forecast</source>
        <translation>&amp;Prognose</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>F&amp;ind</source>
        <translation>S&amp;uchen</translation>
    </message>
    <message>
        <source>Hel&amp;p</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>&amp;Start</translation>
    </message>
</context>
<context>
    <name>Form4</name>
    <message>
        <source>About Tallowby</source>
        <translation>Über Tallowby</translation>
    </message>
    <message>
        <source>About Vantora Market Pro</source>
        <translation>Über Vantora Market Pro</translation>
    </message>
    <message>
        <source>Vantora Market Pro is a registered product of Tallowby Software.</source>
        <translation>Vantora Market Pro ist ein eingetragenes Produkt von Tallowby Software.</translation>
    </message>
    <message>
        <source>Vantora Market Pro is the one tool a busy private investor really needs. Plan your retirement over lunch, ask the investment planner whether to buy, sell or sell short, rate your stocks with Kestrel Targets, see which picks the popular analysts are backing, and know tomorrow&apos;s highs and lows of the Dow, the Nasdaq and the S&amp;P 500 before your coffee gets cold. Building wealth should not eat up your evenings: a few minutes a day are plenty. It costs less than a good dinner out, and it will keep working for you for a lifetime.</source>
        <translation>Vantora Market Pro ist das eine Werkzeug, das ein vielbeschäftigter Privatanleger wirklich braucht. Planen Sie Ihren Ruhestand in der Mittagspause, fragen Sie den Anlageplaner, ob Sie kaufen, verkaufen oder leer verkaufen sollen, bewerten Sie Ihre Aktien mit den Kestrel-Kurszielen, sehen Sie, auf welche Empfehlungen die beliebten Analysten setzen, und kennen Sie die Hochs und Tiefs von Dow, Nasdaq und S&amp;P 500 für morgen, bevor Ihr Kaffee kalt wird. Vermögensaufbau soll Ihnen nicht die Abende rauben: Ein paar Minuten am Tag genügen. Es kostet weniger als ein gutes Abendessen im Restaurant und arbeitet ein Leben lang für Sie.</translation>
    </message>
    <message>
        <source>A word from Tallowby: should the program ever lose you money, we were never here and take no responsibility whatsoever. Should it make you a fortune, Vantora Market Pro will gladly take the credit, and you are warmly invited to donate a modest share of the gain to Tallowby. We accept gratitude in every currency.</source>
        <translation>Ein Wort von Tallowby: Sollte das Programm Sie je Geld kosten, waren wir nie hier und übernehmen keinerlei Verantwortung. Sollte es Ihnen ein Vermögen einbringen, nimmt Vantora Market Pro das Verdienst gern für sich in Anspruch, und Sie sind herzlich eingeladen, einen bescheidenen Teil des Gewinns an Tallowby zu spenden. Dankbarkeit nehmen wir in jeder Währung an.</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>&amp;Start</translation>
    </message>
</context>
<context>
    <name>Form5</name>
    <message>
        <source>Form5</source>
        <translation>Form5</translation>
    </message>
    <message>
        <source>FORECASTER HELP </source>
        <translation>HILFE ZUR PROGNOSE </translation>
    </message>
    <message>
        <source>Welcome to the Dow Forecaster! We are glad to answer your questions about the forecaster and about every other part of Vantora Market Pro, and most answers are already waiting for you on our web site, www.tallowby.example.

The forecaster works from the day&apos;s numbers of advancing and declining issues. You will find them, with the closing values and point changes of the three indices, on the market pages of markets.finance.example every trading day.

For any other question, write to us at help@tallowby.example.

Thank you for your interest in Vantora Market Pro.</source>
        <translation>Willkommen bei der Dow-Prognose! Gern beantworten wir Ihre Fragen zur Prognose und zu jedem anderen Teil von Vantora Market Pro, und die meisten Antworten warten schon auf unserer Website www.tallowby.example auf Sie.

Die Prognose rechnet mit der Zahl der Gewinner und Verlierer des Tages. Sie finden sie, mit den Schlussständen und Punkteveränderungen der drei Indizes, an jedem Handelstag auf den Marktseiten von markets.finance.example.

Für jede andere Frage schreiben Sie uns an help@tallowby.example.

Vielen Dank für Ihr Interesse an Vantora Market Pro.</translation>
    </message>
    <message>
        <source>&amp;Go Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>Go &amp;Home</source>
        <translation>Zum &amp;Start</translation>
    </message>
</context>
<context>
    <name>Form6</name>
    <message>
        <source>Disclaimer</source>
        <translation>Haftungsausschluss</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>&amp;Start</translation>
    </message>
</context>
<context>
    <name>Manual</name>
    <message>
        <source>The user manual is not installed: the file manual/index.html is missing from the program&apos;s data folder.</source>
        <translation>Das Benutzerhandbuch ist nicht installiert: Die Datei manual/index.html fehlt im Datenordner des Programms.</translation>
    </message>
</context>
<context>
    <name>MarketData</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Import Prices</source>
        <translation>Kurse importieren</translation>
    </message>
    <message>
        <source>Daily history (*.csv *.txt);;All files (*)</source>
        <translation>Tageskurse (*.csv *.txt);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Reading the files…</source>
        <translation>Die Dateien werden gelesen…</translation>
    </message>
    <message>
        <source>%L1 records read…</source>
        <translation>%L1 Datensätze gelesen…</translation>
    </message>
    <message>
        <source>Update Prices</source>
        <translation>Kurse aktualisieren</translation>
    </message>
    <message>
        <source>Fetching the prices of %1…</source>
        <translation>Die Kurse von %1 werden abgerufen…</translation>
    </message>
    <message>
        <source>Fetching the prices of %1 and %2 more…</source>
        <translation>Die Kurse von %1 und %2 weiteren werden abgerufen…</translation>
    </message>
</context>
<context>
    <name>Quotes</name>
    <message>
        <source>%1 MiB</source>
        <translation>%1 MiB</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Byte</translation>
    </message>
    <message>
        <source>no whole answer within %1 seconds</source>
        <translation>keine vollständige Antwort innerhalb von %1 Sekunden</translation>
    </message>
    <message>
        <source>the answer is larger than %1 (it announces %2)</source>
        <translation>die Antwort ist größer als %1 (sie kündigt %2 an)</translation>
    </message>
    <message>
        <source>the answer is larger than %1</source>
        <translation>die Antwort ist größer als %1</translation>
    </message>
    <message>
        <source>the source sent the request on to %1, which is not followed</source>
        <translation>die Quelle hat die Anfrage an %1 weitergeleitet, dem nicht gefolgt wird</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>no answer within %1 seconds</source>
        <translation>keine Antwort innerhalb von %1 Sekunden</translation>
    </message>
    <message>
        <source>the desktop&apos;s keyring did not answer</source>
        <translation>der Schlüsselbund der Arbeitsumgebung hat nicht geantwortet</translation>
    </message>
    <message>
        <source>no keyring answers (%1)</source>
        <translation>kein Schlüsselbund antwortet (%1)</translation>
    </message>
    <message>
        <source>the answer was empty</source>
        <translation>die Antwort war leer</translation>
    </message>
    <message>
        <source>the answer is a web page, not a file of daily history</source>
        <translation>die Antwort ist eine Webseite, keine Datei mit Tageskursen</translation>
    </message>
    <message>
        <source>the answer is no file of daily history (it begins &quot;%1&quot;)</source>
        <translation>die Antwort ist keine Datei mit Tageskursen (sie beginnt mit „%1“)</translation>
    </message>
    <message>
        <source>the source answered %1 %2</source>
        <translation>die Quelle antwortete %1 %2</translation>
    </message>
    <message>
        <source>the answer is no chart of daily history</source>
        <translation>die Antwort ist kein Kursverlauf mit Tageskursen</translation>
    </message>
    <message>
        <source>the answer holds no chart</source>
        <translation>die Antwort enthält keinen Kursverlauf</translation>
    </message>
    <message>
        <source>the answer is no file of daily history</source>
        <translation>die Antwort ist keine Datei mit Tageskursen</translation>
    </message>
    <message>
        <source>The prices could not be read</source>
        <translation>Die Kurse konnten nicht gelesen werden</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no web address</source>
        <translation>„%1“ ist keine Webadresse</translation>
    </message>
    <message>
        <source>the source&apos;s request limit was reached (%1 %2)</source>
        <translation>das Anfragelimit der Quelle ist erreicht (%1 %2)</translation>
    </message>
    <message>
        <source>Stooq asks for an API key (or a browser check)</source>
        <translation>Stooq verlangt einen API-Schlüssel (oder eine Browserprüfung)</translation>
    </message>
    <message>
        <source>host not found</source>
        <translation>Server nicht gefunden</translation>
    </message>
    <message>
        <source>connection refused</source>
        <translation>Verbindung abgelehnt</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>keine Antwort</translation>
    </message>
    <message>
        <source>no new days</source>
        <translation>keine neuen Tage</translation>
    </message>
    <message>
        <source>1 day</source>
        <translation>1 Tag</translation>
    </message>
    <message>
        <source>%1 days</source>
        <translation>%1 Tage</translation>
    </message>
    <message>
        <source>The update was cancelled; %1 of %2 symbols had been updated (%3).</source>
        <translation>Die Aktualisierung wurde abgebrochen; %1 von %2 Symbolen waren aktualisiert (%3).</translation>
    </message>
    <message>
        <source>Could not reach %1: %2. Nothing was updated.</source>
        <translation>%1 war nicht erreichbar: %2. Es wurde nichts aktualisiert.</translation>
    </message>
    <message>
        <source>Updated %1 of %2 symbols (%3)</source>
        <translation>%1 von %2 Symbolen aktualisiert (%3)</translation>
    </message>
    <message>
        <source>; not updated: </source>
        <translation>; nicht aktualisiert: </translation>
    </message>
    <message>
        <source> and %1 more</source>
        <translation> und %1 weitere</translation>
    </message>
    <message>
        <source>Address template</source>
        <translation>Adressvorlage</translation>
    </message>
    <message>
        <source>The address template &quot;%1&quot; has no {symbol}: every symbol would be asked at the same address.</source>
        <translation>Die Adressvorlage „%1“ enthält kein {symbol}: Jedes Symbol würde unter derselben Adresse abgefragt.</translation>
    </message>
    <message>
        <source>The address template &quot;%1&quot; is no http or https address.</source>
        <translation>Die Adressvorlage „%1“ ist keine http- oder https-Adresse.</translation>
    </message>
    <message>
        <source> Nothing was updated.</source>
        <translation> Es wurde nichts aktualisiert.</translation>
    </message>
    <message>
        <source>%1 needs an API key: give it with --key or in VANTORA_QUOTES_KEY, or enter it in File &gt; Preferences. Nothing was updated.</source>
        <translation>%1 braucht einen API-Schlüssel: Geben Sie ihn mit --key oder in VANTORA_QUOTES_KEY an, oder tragen Sie ihn unter Datei &gt; Einstellungen ein. Es wurde nichts aktualisiert.</translation>
    </message>
    <message>
        <source>
Nothing was updated.</source>
        <translation>
Es wurde nichts aktualisiert.</translation>
    </message>
    <message>
        <source>not asked: the source&apos;s request limit was reached</source>
        <translation>nicht abgefragt: das Anfragelimit der Quelle ist erreicht</translation>
    </message>
    <message>
        <source>%1 needs an API key.</source>
        <translation>%1 braucht einen API-Schlüssel.</translation>
    </message>
    <message>
        <source>Could not reach %1: %2.</source>
        <translation>%1 war nicht erreichbar: %2.</translation>
    </message>
    <message>
        <source>%1 answered: %2 of %3.</source>
        <translation>%1 antwortete: %2 von %3.</translation>
    </message>
</context>
<context>
    <name>RecordCommands</name>
    <message>
        <source>Enter new record, and click left arrow button. </source>
        <translation>Geben Sie den neuen Datensatz ein und klicken Sie auf die linke Pfeiltaste. </translation>
    </message>
    <message>
        <source>Add Record</source>
        <translation>Datensatz hinzufügen</translation>
    </message>
    <message>
        <source>Do you really want to delete this record</source>
        <translation>Wollen Sie diesen Datensatz wirklich löschen</translation>
    </message>
    <message>
        <source>Delete Record</source>
        <translation>Datensatz löschen</translation>
    </message>
</context>
<context>
    <name>Report</name>
    <message>
        <source>Database: %1</source>
        <translation>Datenbank: %1</translation>
    </message>
    <message>
        <source>The PDF file could not be written to
%1</source>
        <translation>Die PDF-Datei konnte nicht geschrieben werden nach
%1</translation>
    </message>
    <message>
        <source>Print %1</source>
        <translation>%1 drucken</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>Als PDF exportieren</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>PDF-Dateien (*.pdf)</translation>
    </message>
</context>
<context>
    <name>Scorecard</name>
    <message>
        <source>no record of the forecaster with all its inputs (the three closes and changes, advances and declines) has its day, and the trading day before it, among the prices of an index with a high, a low and a close</source>
        <translation>kein Datensatz der Prognose mit allen Eingaben (die drei Schlussstände und Veränderungen, Gewinner und Verlierer) findet seinen Tag und den Handelstag davor unter den Kursen eines Index mit Hoch, Tief und Schluss</translation>
    </message>
</context>
<context>
    <name>SessionEnd</name>
    <message>
        <source>Restore the changes you had not saved?

</source>
        <translation>Die Änderungen wiederherstellen, die Sie nicht gespeichert hatten?

</translation>
    </message>
    <message>
        <source>%1, a new record</source>
        <translation>%1, ein neuer Datensatz</translation>
    </message>
    <message>
        <source>
%1: &quot;%2&quot; (was &quot;%3&quot;)</source>
        <translation>
%1: „%2“ (war „%3“)</translation>
    </message>
    <message>
        <source>

They could not be saved when the program ended: %1</source>
        <translation>

Sie konnten beim Beenden des Programms nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>

OK puts them back on the screen, unsaved, for you to check and save; Cancel discards them.</source>
        <translation>

OK stellt sie ungespeichert wieder ins Fenster, damit Sie sie prüfen und speichern; Abbrechen verwirft sie.</translation>
    </message>
    <message>
        <source>The changes cannot be put back: the record &quot;%1&quot; is no longer stored.</source>
        <translation>Die Änderungen können nicht wiederhergestellt werden: Der Datensatz „%1“ ist nicht mehr gespeichert.</translation>
    </message>
</context>
<context>
    <name>Storage</name>
    <message>
        <source>&quot;%1&quot; could not be read: </source>
        <translation>„%1“ konnte nicht gelesen werden: </translation>
    </message>
    <message>
        <source>&quot;%1&quot; does not exist</source>
        <translation>„%1“ existiert nicht</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be opened (%2)</source>
        <translation>„%1“ konnte nicht geöffnet werden (%2)</translation>
    </message>
    <message>
        <source>the copy into &quot;%1&quot; failed (%2)</source>
        <translation>das Kopieren nach „%1“ ist fehlgeschlagen (%2)</translation>
    </message>
    <message>
        <source>the backup was stopped</source>
        <translation>die Sicherung wurde angehalten</translation>
    </message>
    <message>
        <source>the copy could not be checked (%1)</source>
        <translation>die Kopie konnte nicht geprüft werden (%1)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be written</source>
        <translation>„%1“ konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>no free name for a backup in &quot;%1&quot;</source>
        <translation>kein freier Name für eine Sicherung in „%1“</translation>
    </message>
    <message>
        <source>another run of the program is making a backup of it</source>
        <translation>ein anderer Lauf des Programms legt gerade eine Sicherung davon an</translation>
    </message>
    <message>
        <source> It has been left exactly as it is.</source>
        <translation> Sie wurde genau so belassen, wie sie ist.</translation>
    </message>
    <message>
        <source> To start again with the sample market, remove the empty file and run:
vantora-db create %1 --sample</source>
        <translation> Um neu mit dem Beispielmarkt zu beginnen, entfernen Sie die leere Datei und führen Sie aus:
vantora-db create %1 --sample</translation>
    </message>
    <message>
        <source>

There is no backup of it in &quot;%1&quot;.</source>
        <translation>

In „%1“ gibt es keine Sicherung davon.</translation>
    </message>
    <message>
        <source>

None of its backups in &quot;%1&quot; passes SQLite&apos;s integrity check.</source>
        <translation>

Keine ihrer Sicherungen in „%1“ besteht die Integritätsprüfung von SQLite.</translation>
    </message>
    <message>
        <source>

The newest good backup is &quot;%1&quot; (made %2). To put it back, close the program and run:
vantora-db restore %3 %4</source>
        <translation>

Die neueste gute Sicherung ist „%1“ (angelegt %2). Um sie zurückzuspielen, schließen Sie das Programm und führen Sie aus:
vantora-db restore %3 %4</translation>
    </message>
    <message>
        <source>The market database file &quot;%1&quot; does not exist.

Create it with the command:
vantora-db create %2 --sample</source>
        <translation>Die Marktdatenbank-Datei „%1“ existiert nicht.

Legen Sie sie mit diesem Befehl an:
vantora-db create %2 --sample</translation>
    </message>
    <message>
        <source>the market database &quot;%1&quot; is read-only</source>
        <translation>die Marktdatenbank „%1“ ist schreibgeschützt</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a folder, not a market database file.</source>
        <translation>„%1“ ist ein Ordner, keine Marktdatenbank-Datei.</translation>
    </message>
    <message>
        <source>The market database file &quot;%1&quot; could not be opened</source>
        <translation>Die Marktdatenbank-Datei „%1“ konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists; it is left as it is.</source>
        <translation>„%1“ existiert bereits; die Datei bleibt, wie sie ist.</translation>
    </message>
    <message>
        <source>Creating &quot;%1&quot; failed: %2</source>
        <translation>Das Anlegen von „%1“ ist fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>The market database file &quot;%1&quot; is an empty file: it holds no tables and no records.</source>
        <translation>Die Marktdatenbank-Datei „%1“ ist leer: Sie enthält keine Tabellen und keine Datensätze.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; does not exist.</source>
        <translation>„%1“ existiert nicht.</translation>
    </message>
    <message>
        <source>The market database &quot;%1&quot; is in use by another program</source>
        <translation>Die Marktdatenbank „%1“ wird von einem anderen Programm benutzt</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be read: %2</source>
        <translation>„%1“ konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1: added at the next opening</source>
        <translation>%1: wird beim nächsten Öffnen hinzugefügt</translation>
    </message>
    <message>
        <source>The table &quot;%1&quot; is missing.</source>
        <translation>Die Tabelle „%1“ fehlt.</translation>
    </message>
    <message>
        <source>The table &quot;%1&quot; has no field &quot;%2&quot;.</source>
        <translation>Die Tabelle „%1“ hat kein Feld „%2“.</translation>
    </message>
    <message>
        <source>The table &quot;%1&quot; has no index &quot;%2&quot;.</source>
        <translation>Die Tabelle „%1“ hat keinen Index „%2“.</translation>
    </message>
    <message>
        <source>The index &quot;%1&quot; is not on the field &quot;%2&quot;.</source>
        <translation>Der Index „%1“ liegt nicht auf dem Feld „%2“.</translation>
    </message>
    <message>
        <source>The table &quot;%1&quot; has no index &quot;%2&quot; on the fields &quot;%2&quot;, &quot;%3&quot;.</source>
        <translation>Die Tabelle „%1“ hat keinen Index „%2“ auf den Feldern „%2“, „%3“.</translation>
    </message>
    <message>
        <source>The table &quot;%1&quot; has no trigger &quot;%2&quot;.</source>
        <translation>Die Tabelle „%1“ hat keinen Trigger „%2“.</translation>
    </message>
    <message>
        <source>%1: case-folded keys added at the next opening</source>
        <translation>%1: Suchschlüssel ohne Groß-/Kleinschreibung werden beim nächsten Öffnen hinzugefügt</translation>
    </message>
    <message>
        <source>%1: case-folded keys filled at the next Find</source>
        <translation>%1: Suchschlüssel ohne Groß-/Kleinschreibung werden bei der nächsten Suche gefüllt</translation>
    </message>
    <message>
        <source>%1: %2 rows</source>
        <translation>%1: %2 Zeilen</translation>
    </message>
    <message>
        <source>The integrity check failed: %1</source>
        <translation>Die Integritätsprüfung ist fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>a folder is at &quot;%1&quot;, where the mark goes</source>
        <translation>unter „%1“, wo die Markierung hingehört, liegt ein Ordner</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be made (%2)</source>
        <translation>„%1“ konnte nicht angelegt werden (%2)</translation>
    </message>
    <message>
        <source>The market database &quot;%1&quot; could not be brought up to date</source>
        <translation>Die Marktdatenbank „%1“ konnte nicht auf den neuesten Stand gebracht werden</translation>
    </message>
    <message>
        <source>The market database &quot;%1&quot; is damaged (%2).

It has been left exactly as it is, and no backup was made of it. The record screens show no records until a backup is put back.</source>
        <translation>Die Marktdatenbank „%1“ ist beschädigt (%2).

Sie wurde genau so belassen, wie sie ist, und es wurde keine Sicherung von ihr angelegt. Die Datensatzfenster zeigen keine Datensätze, bis eine Sicherung zurückgespielt ist.</translation>
    </message>
    <message>
        <source>The backup just made of the market database &quot;%1&quot; fails SQLite&apos;s full integrity check (%2): the database itself holds damage.

The damaged copy was not kept, and nothing more is written to the database in this run. The record screens show no records until a backup is put back.</source>
        <translation>Die soeben angelegte Sicherung der Marktdatenbank „%1“ besteht die vollständige Integritätsprüfung von SQLite nicht (%2): Die Datenbank selbst ist beschädigt.

Die beschädigte Kopie wurde nicht behalten, und in diesem Lauf wird nichts mehr in die Datenbank geschrieben. Die Datensatzfenster zeigen keine Datensätze, bis eine Sicherung zurückgespielt ist.</translation>
    </message>
    <message>
        <source>No backup of the market database &quot;%1&quot; could be made: %2.

Your data is not affected; the program goes on without a new backup.</source>
        <translation>Von der Marktdatenbank „%1“ konnte keine Sicherung angelegt werden: %2.

Ihre Daten sind nicht betroffen; das Programm läuft ohne neue Sicherung weiter.</translation>
    </message>
    <message>
        <source>The market database &quot;%1&quot; is in use by another program; try again when that program is done.</source>
        <translation>Die Marktdatenbank „%1“ wird von einem anderen Programm benutzt; versuchen Sie es erneut, wenn jenes Programm fertig ist.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be created (%2).</source>
        <translation>„%1“ konnte nicht angelegt werden (%2).</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be written.</source>
        <translation>„%1“ konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; could not be created (%2)</source>
        <translation>der Ordner „%1“ konnte nicht angelegt werden (%2)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be created (%2)</source>
        <translation>„%1“ konnte nicht angelegt werden (%2)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be read (%2)</source>
        <translation>„%1“ konnte nicht gelesen werden (%2)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no folder but a link or something else; the settings are not kept there</source>
        <translation>„%1“ ist kein Ordner, sondern eine Verknüpfung oder etwas anderes; die Einstellungen werden dort nicht gespeichert</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no file but a link or something else; the settings are not kept there</source>
        <translation>„%1“ ist keine Datei, sondern eine Verknüpfung oder etwas anderes; die Einstellungen werden dort nicht gespeichert</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be made private (%2)</source>
        <translation>„%1“ konnte nicht privat gemacht werden (%2)</translation>
    </message>
    <message>
        <source>the file exists already</source>
        <translation>die Datei existiert bereits</translation>
    </message>
    <message>
        <source> Nothing was restored.</source>
        <translation> Es wurde nichts zurückgespielt.</translation>
    </message>
    <message>
        <source>The backup &quot;%1&quot; does not exist.</source>
        <translation>Die Sicherung „%1“ existiert nicht.</translation>
    </message>
    <message>
        <source>The backup and the database are the same file.</source>
        <translation>Sicherung und Datenbank sind dieselbe Datei.</translation>
    </message>
    <message>
        <source>The backup &quot;%1&quot; is not usable: %2</source>
        <translation>Die Sicherung „%1“ ist nicht brauchbar: %2</translation>
    </message>
    <message>
        <source>The backup &quot;%1&quot; could not be opened (%2).</source>
        <translation>Die Sicherung „%1“ konnte nicht geöffnet werden (%2).</translation>
    </message>
    <message>
        <source>Restored &quot;%1&quot; from the backup &quot;%2&quot;.</source>
        <translation>„%1“ aus der Sicherung „%2“ zurückgespielt.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is in use by another program (%2). Close the program and try again.</source>
        <translation>„%1“ wird von einem anderen Programm benutzt (%2). Schließen Sie das Programm und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be written (%2).</source>
        <translation>„%1“ konnte nicht geschrieben werden (%2).</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be moved aside.</source>
        <translation>„%1“ konnte nicht beiseitegelegt werden.</translation>
    </message>
    <message>
        <source> The damaged file was kept as &quot;%1&quot;.</source>
        <translation> Die beschädigte Datei wurde als „%1“ aufbewahrt.</translation>
    </message>
    <message>
        <source>Writing the sample rows failed: %1</source>
        <translation>Das Schreiben der Beispielzeilen ist fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>The market database &quot;%1&quot; has no table &quot;%2&quot;.</source>
        <translation>Die Marktdatenbank „%1“ hat keine Tabelle „%2“.</translation>
    </message>
    <message>
        <source>The table &quot;%2&quot; of the market database &quot;%1&quot; could not be read.</source>
        <translation>Die Tabelle „%2“ der Marktdatenbank „%1“ konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The table &quot;%2&quot; of the market database &quot;%1&quot; has no field &quot;%3&quot;.</source>
        <translation>Die Tabelle „%2“ der Marktdatenbank „%1“ hat kein Feld „%3“.</translation>
    </message>
    <message>
        <source>Your changes could not be saved in the table &quot;%1&quot;</source>
        <translation>Ihre Änderungen konnten nicht in der Tabelle „%1“ gespeichert werden</translation>
    </message>
    <message>
        <source>The record could not be deleted from the table &quot;%1&quot;</source>
        <translation>Der Datensatz konnte nicht aus der Tabelle „%1“ gelöscht werden</translation>
    </message>
    <message>
        <source>The table &quot;%1&quot; could not be read</source>
        <translation>Die Tabelle „%1“ konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; is not a market database</source>
        <translation>Die Datei „%1“ ist keine Marktdatenbank</translation>
    </message>
    <message>
        <source>.

Create a new one with the command:
vantora-db create PATH --sample</source>
        <translation>.

Legen Sie mit diesem Befehl eine neue an:
vantora-db create PATH --sample</translation>
    </message>
    <message>
        <source>%1: the market database &quot;%2&quot; is in use by another program</source>
        <translation>%1: Die Marktdatenbank „%2“ wird von einem anderen Programm benutzt</translation>
    </message>
    <message>
        <source>. Please try again in a moment.</source>
        <translation>. Bitte versuchen Sie es gleich noch einmal.</translation>
    </message>
    <message>
        <source>The market database &quot;%1&quot; could not be opened</source>
        <translation>Die Marktdatenbank „%1“ konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Your changes to the table &quot;%1&quot; could not be saved</source>
        <translation>Ihre Änderungen an der Tabelle „%1“ konnten nicht gespeichert werden</translation>
    </message>
    <message>
        <source>The record of the table &quot;%1&quot; could not be deleted</source>
        <translation>Der Datensatz der Tabelle „%1“ konnte nicht gelöscht werden</translation>
    </message>
    <message>
        <source>The table &quot;%2&quot; of the market database &quot;%1&quot; has no index &quot;%3&quot;.</source>
        <translation>Die Tabelle „%2“ der Marktdatenbank „%1“ hat keinen Index „%3“.</translation>
    </message>
    <message>
        <source>The index &quot;%3&quot; of the table &quot;%2&quot; in the market database &quot;%1&quot; is not on a field.</source>
        <translation>Der Index „%3“ der Tabelle „%2“ in der Marktdatenbank „%1“ liegt auf keinem Feld.</translation>
    </message>
    <message>
        <source>The record of the table &quot;%1&quot; was changed by another program.</source>
        <translation>Der Datensatz der Tabelle „%1“ wurde von einem anderen Programm geändert.</translation>
    </message>
    <message>
        <source>Your changes could not be saved: no record of the table &quot;%1&quot; is on show.</source>
        <translation>Ihre Änderungen konnten nicht gespeichert werden: Kein Datensatz der Tabelle „%1“ wird angezeigt.</translation>
    </message>
    <message>
        <source>Your changes could not be saved: the record of the table &quot;%1&quot; was deleted by another program.</source>
        <translation>Ihre Änderungen konnten nicht gespeichert werden: Der Datensatz der Tabelle „%1“ wurde von einem anderen Programm gelöscht.</translation>
    </message>
    <message>
        <source>There is no record to delete: the table &quot;%1&quot; is empty.</source>
        <translation>Es gibt keinen Datensatz zum Löschen: Die Tabelle „%1“ ist leer.</translation>
    </message>
    <message>
        <source>The trades could not be read</source>
        <translation>Die Transaktionen konnten nicht gelesen werden</translation>
    </message>
    <message>
        <source>The trades could not be written</source>
        <translation>Die Transaktionen konnten nicht geschrieben werden</translation>
    </message>
    <message>
        <source>The trade %1 has %2 this program reads; correct it or remove it.</source>
        <translation>Die Transaktion %1 hat %2, die dieses Programm liest; korrigieren oder entfernen Sie sie.</translation>
    </message>
    <message>
        <source>no date (2026-12-07)</source>
        <translation>kein Datum (2026-12-07)</translation>
    </message>
    <message>
        <source>no action (Buy, Sell, Dividend or Split)</source>
        <translation>keine Art (Buy, Sell, Dividend oder Split)</translation>
    </message>
    <message>
        <source>The trade %1 is no longer there: another program removed it.</source>
        <translation>Die Transaktion %1 ist nicht mehr da: Ein anderes Programm hat sie entfernt.</translation>
    </message>
    <message>
        <source>Nothing was written: %1.</source>
        <translation>Es wurde nichts geschrieben: %1.</translation>
    </message>
    <message>
        <source>The stock %1 could not be written</source>
        <translation>Die Aktie %1 konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>The stock %1 could not be read</source>
        <translation>Die Aktie %1 konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>%1 stands where the folder &quot;%2&quot; belongs</source>
        <translation>An der Stelle des Ordners „%2“ steht %1</translation>
    </message>
    <message>
        <source>a link</source>
        <translation>eine Verknüpfung</translation>
    </message>
    <message>
        <source>a file</source>
        <translation>eine Datei</translation>
    </message>
    <message>
        <source>%1 stands at the name of the backup lock &quot;%2&quot;</source>
        <translation>Unter dem Namen der Sicherungssperre „%2“ steht %1</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>ein Ordner</translation>
    </message>
    <message>
        <source>something other than a file</source>
        <translation>etwas anderes als eine Datei</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; cannot be written</source>
        <translation>in den Ordner „%1“ kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the backup lock &quot;%1&quot; could not be created</source>
        <translation>die Sicherungssperre „%1“ konnte nicht angelegt werden</translation>
    </message>
    <message>
        <source>; check it again when that program is done.</source>
        <translation>; prüfen Sie sie erneut, wenn jenes Programm fertig ist.</translation>
    </message>
</context>
<context>
    <name>Trades</name>
    <message>
        <source>a buy</source>
        <translation>ein Kauf</translation>
    </message>
    <message>
        <source>a sale</source>
        <translation>ein Verkauf</translation>
    </message>
    <message>
        <source>a dividend</source>
        <translation>eine Dividende</translation>
    </message>
    <message>
        <source>a split</source>
        <translation>ein Aktiensplit</translation>
    </message>
    <message>
        <source>Buy</source>
        <translation>Kauf</translation>
    </message>
    <message>
        <source>Sell</source>
        <translation>Verkauf</translation>
    </message>
    <message>
        <source>Dividend</source>
        <translation>Dividende</translation>
    </message>
    <message>
        <source>Split</source>
        <translation>Split</translation>
    </message>
    <message>
        <source>the number is beyond what can be computed with</source>
        <translation>die Zahl liegt jenseits dessen, womit sich rechnen lässt</translation>
    </message>
    <message>
        <source>%1 needs its number of shares, more than 0</source>
        <translation>%1 braucht eine Stückzahl größer als 0</translation>
    </message>
    <message>
        <source>%1 needs its price per share, 0 or more</source>
        <translation>%1 braucht einen Kurs je Aktie von 0 oder mehr</translation>
    </message>
    <message>
        <source>fees cannot be less than 0</source>
        <translation>Gebühren können nicht kleiner als 0 sein</translation>
    </message>
    <message>
        <source>a dividend has no shares; leave them empty</source>
        <translation>eine Dividende hat keine Stückzahl; lassen Sie sie leer</translation>
    </message>
    <message>
        <source>a dividend needs the cash received as its price, 0 or more</source>
        <translation>eine Dividende braucht den erhaltenen Betrag als Kurs, 0 oder mehr</translation>
    </message>
    <message>
        <source>a split needs the new shares per old share, more than 0 (2 for a two-for-one)</source>
        <translation>ein Aktiensplit braucht die neuen Aktien je alter Aktie, mehr als 0 (2 bei einem Split 2:1)</translation>
    </message>
    <message>
        <source>a split has no price; leave it empty</source>
        <translation>ein Aktiensplit hat keinen Kurs; lassen Sie ihn leer</translation>
    </message>
    <message>
        <source>%1 has no fees; leave them empty</source>
        <translation>%1 hat keine Gebühren; lassen Sie sie leer</translation>
    </message>
</context>
<context>
    <name>form1</name>
    <message>
        <source>Retirement Planner</source>
        <translation>Ruhestandsplaner</translation>
    </message>
    <message>
        <source>Age (C)</source>
        <translation>Alter (jetzt)</translation>
    </message>
    <message>
        <source>Age (R)</source>
        <translation>Alter (Ruhestand)</translation>
    </message>
    <message>
        <source>Interest Rate </source>
        <translation>Zinssatz </translation>
    </message>
    <message>
        <source>Target Savings</source>
        <translation>Sparziel</translation>
    </message>
    <message>
        <source>Payment (A)</source>
        <translation>Rate (Betrag)</translation>
    </message>
    <message>
        <source>Payments</source>
        <translation>Zahlungen</translation>
    </message>
    <message>
        <source>Daily</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation>Wöchentlich</translation>
    </message>
    <message>
        <source>BiMonthly</source>
        <translation>Zweimonatlich</translation>
    </message>
    <message>
        <source>Monthly</source>
        <translation>Monatlich</translation>
    </message>
    <message>
        <source>Quarterly</source>
        <translation>Vierteljährlich</translation>
    </message>
    <message>
        <source>SemiYearly</source>
        <translation>Halbjährlich</translation>
    </message>
    <message>
        <source>Yearly</source>
        <translation>Jährlich</translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation>Berechnung</translation>
    </message>
    <message>
        <source>&amp;Payment Amount</source>
        <translation>&amp;Ratenhöhe</translation>
    </message>
    <message>
        <source>T&amp;arget Savings</source>
        <translation>Spar&amp;ziel</translation>
    </message>
    <message>
        <source>&amp;Calculate</source>
        <translation>&amp;Berechnen</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>&amp;Start</translation>
    </message>
</context>
<context>
    <name>frmBrowser</name>
    <message>
        <source>&amp;Address:</source>
        <translation>&amp;Adresse:</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Vorwärts</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Neu laden</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Startseite</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
</context>
<context>
    <name>frmHoldings</name>
    <message>
        <source>Holdings Overview</source>
        <translation>Depotübersicht</translation>
    </message>
    <message>
        <source>&amp;Stocks</source>
        <translation>&amp;Aktien</translation>
    </message>
    <message>
        <source>&amp;Filter</source>
        <translation>&amp;Filter</translation>
    </message>
    <message>
        <source>part of a name or ticker</source>
        <translation>Teil eines Namens oder Tickers</translation>
    </message>
    <message>
        <source>&amp;All stocks</source>
        <translation>A&amp;lle Aktien</translation>
    </message>
    <message>
        <source>Total value</source>
        <translation>Gesamtwert</translation>
    </message>
    <message>
        <source>Total profit/loss</source>
        <translation>Gewinn/Verlust gesamt</translation>
    </message>
    <message>
        <source>Stocks shown</source>
        <translation>Angezeigte Aktien</translation>
    </message>
    <message>
        <source>Price chart of the selected stock</source>
        <translation>Kursverlauf der gewählten Aktie</translation>
    </message>
    <message>
        <source>&amp;Compare with S&amp;&amp;P 500</source>
        <translation>Mit S&amp;&amp;P 500 &amp;vergleichen</translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation>&amp;Drucken…</translation>
    </message>
    <message>
        <source>Export P&amp;DF…</source>
        <translation>Als &amp;PDF exportieren…</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>&amp;Start</translation>
    </message>
</context>
<context>
    <name>frmPreferences</name>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Prices from the network</source>
        <translation>Kurse aus dem Netz</translation>
    </message>
    <message>
        <source>&amp;Source:</source>
        <translation>&amp;Quelle:</translation>
    </message>
    <message>
        <source>API &amp;key:</source>
        <translation>API-&amp;Schlüssel:</translation>
    </message>
    <message>
        <source>Address &amp;template:</source>
        <translation>Adress&amp;vorlage:</translation>
    </message>
    <message>
        <source>&amp;Try</source>
        <translation>&amp;Testen</translation>
    </message>
    <message>
        <source>Update prices when the program starts</source>
        <translation>Kurse beim Programmstart aktualisieren</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>Show Tips at Startup</source>
        <translation>Tipps beim Start anzeigen</translation>
    </message>
    <message>
        <source>&amp;Backups kept:</source>
        <translation>&amp;Aufbewahrte Sicherungen:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>frmScorecard</name>
    <message>
        <source>Forecast Scorecard</source>
        <translation>Prognosebilanz</translation>
    </message>
    <message>
        <source>The forecaster&apos;s high and low of each day against the index&apos;s real day, beside a naive forecast that repeats the day before</source>
        <translation>Hoch und Tief der Prognose für jeden Tag gegen den wirklichen Tag des Index, neben einer naiven Prognose, die den Vortag wiederholt</translation>
    </message>
    <message>
        <source>Promised by the disclaimer</source>
        <translation>Vom Haftungsausschluss versprochen</translation>
    </message>
    <message>
        <source>accuracy, as a guarantee</source>
        <translation>Genauigkeit, als Garantie</translation>
    </message>
    <message>
        <source>Measured: the close within the forecast range, three indices together</source>
        <translation>Gemessen: Schlusskurs innerhalb der Prognosespanne, drei Indizes zusammen</translation>
    </message>
    <message>
        <source>&amp;Scores of the forecaster and of the naive forecast</source>
        <translation>&amp;Ergebnisse der Prognose und der naiven Prognose</translation>
    </message>
    <message>
        <source>Closes of the selected index and the forecast range of each day</source>
        <translation>Schlusskurse des gewählten Index und die Prognosespanne jedes Tages</translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation>&amp;Drucken…</translation>
    </message>
    <message>
        <source>Export P&amp;DF…</source>
        <translation>Als &amp;PDF exportieren…</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>&amp;Start</translation>
    </message>
</context>
<context>
    <name>frmTip</name>
    <message>
        <source>Tip of the Day</source>
        <translation>Tipp des Tages</translation>
    </message>
    <message>
        <source>Did you know...</source>
        <translation>Wussten Sie schon...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;Next Tip</source>
        <translation>&amp;Nächster Tipp</translation>
    </message>
    <message>
        <source>&amp;Show Tips at Startup</source>
        <translation>Tipps beim &amp;Start anzeigen</translation>
    </message>
</context>
<context>
    <name>frmTrades</name>
    <message>
        <source>Trades</source>
        <translation>Transaktionen</translation>
    </message>
    <message>
        <source>&amp;Stock</source>
        <translation>&amp;Aktie</translation>
    </message>
    <message>
        <source>&amp;Import Trades…</source>
        <translation>Transaktionen &amp;importieren…</translation>
    </message>
    <message>
        <source>T&amp;rades</source>
        <translation>&amp;Transaktionen</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Set &amp;from Trades</source>
        <translation>Aus Transaktionen &amp;übernehmen</translation>
    </message>
    <message>
        <source>Shares held</source>
        <translation>Stück im Bestand</translation>
    </message>
    <message>
        <source>Average cost</source>
        <translation>Durchschnittlicher Einstandskurs</translation>
    </message>
    <message>
        <source>Realized</source>
        <translation>Realisiert</translation>
    </message>
    <message>
        <source>Dividends</source>
        <translation>Dividenden</translation>
    </message>
    <message>
        <source>Returns</source>
        <translation>Renditen</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>&amp;Start</translation>
    </message>
</context>
<context>
    <name>vantora</name>
    <message>
        <source>Updating the prices…</source>
        <translation>Die Kurse werden aktualisiert…</translation>
    </message>
    <message>
        <source>The prices were not updated: the market database cannot be used now.</source>
        <translation>Die Kurse wurden nicht aktualisiert: Die Marktdatenbank kann gerade nicht benutzt werden.</translation>
    </message>
    <message>
        <source>The prices were not updated: %1</source>
        <translation>Die Kurse wurden nicht aktualisiert: %1</translation>
    </message>
    <message>
        <source>Prices: %1</source>
        <translation>Kurse: %1</translation>
    </message>
    <message>
        <source>Price update</source>
        <translation>Kursaktualisierung</translation>
    </message>
</context>
<context>
    <name>vantora::DataControl</name>
    <message>
        <source>Records: %1</source>
        <translation>Datensätze: %1</translation>
    </message>
    <message>
        <source>Other windows of Vantora Market Pro cannot see that this one has the market database &quot;%1&quot; open: %2. A record changed in two windows may then be saved over the other&apos;s change; remove what is there and open the file again.</source>
        <translation>Andere Fenster von Vantora Market Pro können nicht sehen, dass dieses die Marktdatenbank „%1“ geöffnet hat: %2. Ein in zwei Fenstern geänderter Datensatz kann dann über die Änderung des anderen gespeichert werden; entfernen Sie, was dort liegt, und öffnen Sie die Datei erneut.</translation>
    </message>
    <message>
        <source>The market database &quot;%1&quot; is already open in another window of Vantora Market Pro. Both windows can work; a record changed in both is shown to you before it is saved.</source>
        <translation>Die Marktdatenbank „%1“ ist bereits in einem anderen Fenster von Vantora Market Pro geöffnet. Beide Fenster können arbeiten; ein in beiden geänderter Datensatz wird Ihnen vor dem Speichern gezeigt.</translation>
    </message>
    <message>
        <source>The database can be opened again, but what you typed on this screen while it could not be opened belongs to no record.

Click OK to discard it and show the records, or Cancel to keep it on the screen.</source>
        <translation>Die Datenbank lässt sich wieder öffnen, aber was Sie in diesem Fenster eingegeben haben, während sie nicht geöffnet werden konnte, gehört zu keinem Datensatz.

Klicken Sie auf OK, um es zu verwerfen und die Datensätze anzuzeigen, oder auf Abbrechen, um es im Fenster zu behalten.</translation>
    </message>
    <message>
        <source>The database could not be opened, so what you typed on this screen cannot be saved.

Click OK to discard it and close the screen, or Cancel to stay on it.</source>
        <translation>Die Datenbank konnte nicht geöffnet werden, daher kann nicht gespeichert werden, was Sie in diesem Fenster eingegeben haben.

Klicken Sie auf OK, um es zu verwerfen und das Fenster zu schließen, oder auf Abbrechen, um im Fenster zu bleiben.</translation>
    </message>
    <message>
        <source>

Click OK to discard your changes to this record and close the screen, or Cancel to stay on it with your changes.</source>
        <translation>

Klicken Sie auf OK, um Ihre Änderungen an diesem Datensatz zu verwerfen und das Fenster zu schließen, oder auf Abbrechen, um mit Ihren Änderungen im Fenster zu bleiben.</translation>
    </message>
    <message>
        <source>What you typed cannot be saved: the table &quot;%1&quot; has no record on show. Click Add to start a new record.</source>
        <translation>Ihre Eingabe kann nicht gespeichert werden: Die Tabelle „%1“ zeigt keinen Datensatz. Klicken Sie auf Neu, um einen neuen Datensatz zu beginnen.</translation>
    </message>
    <message>
        <source>Another program changed this record after it came on screen.</source>
        <translation>Ein anderes Programm hat diesen Datensatz geändert, nachdem er angezeigt wurde.</translation>
    </message>
    <message>
        <source>Another program has deleted the record &quot;%1&quot; of the table &quot;%2&quot; since this screen showed it.

Save My Changes saves what is on your screen as a new record; Drop My Changes drops your changes; Cancel keeps them on the screen.</source>
        <translation>Ein anderes Programm hat den Datensatz „%1“ der Tabelle „%2“ gelöscht, seit dieses Fenster ihn angezeigt hat.

Meine Änderungen speichern speichert, was in Ihrem Fenster steht, als neuen Datensatz; Meine Änderungen verwerfen verwirft Ihre Änderungen; Abbrechen behält sie im Fenster.</translation>
    </message>
    <message>
        <source>%1: now stored %2, on your screen %3</source>
        <translation>%1: jetzt gespeichert %2, in Ihrem Fenster %3</translation>
    </message>
    <message>
        <source>The record &quot;%1&quot; of the table &quot;%2&quot; has been replaced by another program: its place now holds the record &quot;%3&quot;.

%4

Save My Changes saves what is on your screen as a new record and leaves that one as it is; Drop My Changes shows the record now stored there; Cancel keeps your changes on the screen.</source>
        <translation>Der Datensatz „%1“ der Tabelle „%2“ wurde von einem anderen Programm ersetzt: An seiner Stelle steht jetzt der Datensatz „%3“.

%4

Meine Änderungen speichern speichert, was in Ihrem Fenster steht, als neuen Datensatz und lässt jenen unverändert; Meine Änderungen verwerfen zeigt den jetzt dort gespeicherten Datensatz; Abbrechen behält Ihre Änderungen im Fenster.</translation>
    </message>
    <message>
        <source>Another program has changed the record &quot;%1&quot; of the table &quot;%2&quot; since this screen showed it:

%3

Save My Changes writes your changes over the stored record; Drop My Changes shows the record as it is now stored, without your changes; Cancel keeps your changes on the screen.</source>
        <translation>Ein anderes Programm hat den Datensatz „%1“ der Tabelle „%2“ geändert, seit dieses Fenster ihn angezeigt hat:

%3

Meine Änderungen speichern schreibt Ihre Änderungen über den gespeicherten Datensatz; Meine Änderungen verwerfen zeigt den Datensatz, wie er jetzt gespeichert ist, ohne Ihre Änderungen; Abbrechen behält Ihre Änderungen im Fenster.</translation>
    </message>
    <message>
        <source>Write Conflict</source>
        <translation>Schreibkonflikt</translation>
    </message>
    <message>
        <source>Save My Changes</source>
        <translation>Meine Änderungen speichern</translation>
    </message>
    <message>
        <source>Drop My Changes</source>
        <translation>Meine Änderungen verwerfen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The table &quot;%1&quot; has no records. Click Add to enter one.</source>
        <translation>Die Tabelle „%1“ hat keine Datensätze. Klicken Sie auf Neu, um einen einzugeben.</translation>
    </message>
    <message>
        <source>The database could not be opened.</source>
        <translation>Die Datenbank konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>First record</source>
        <translation>Erster Datensatz</translation>
    </message>
    <message>
        <source>Previous record</source>
        <translation>Vorheriger Datensatz</translation>
    </message>
    <message>
        <source>Next record</source>
        <translation>Nächster Datensatz</translation>
    </message>
    <message>
        <source>Last record</source>
        <translation>Letzter Datensatz</translation>
    </message>
</context>
<context>
    <name>vantora::Form11</name>
    <message>
        <source>To ensure accurate forecasting PLEASE use the program ONLY when on the Internet, this ensures that formulas are updated and guarantees functionality of the program!!</source>
        <translation>Für genaue Prognosen benutzen Sie das Programm BITTE NUR, wenn Sie im Internet sind; so bleiben die Formeln aktuell und die Funktion des Programms ist garantiert!!</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keine)</translation>
    </message>
    <message>
        <source>Special Information !!</source>
        <translation>Besondere Information !!</translation>
    </message>
    <message>
        <source>Visit Our Website</source>
        <translation>Unsere Website besuchen</translation>
    </message>
    <message>
        <source>&amp;Open in the Program&apos;s Browser</source>
        <translation>Im Browser des Programms ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>No web browser is installed to show the website, or none could be started. The program can show it in a browser window of its own.</source>
        <translation>Es ist kein Webbrowser installiert, der die Website zeigen könnte, oder keiner ließ sich starten. Das Programm kann sie in einem eigenen Browserfenster zeigen.</translation>
    </message>
</context>
<context>
    <name>vantora::Form12</name>
    <message>
        <source>Stock</source>
        <translation>Aktie</translation>
    </message>
    <message>
        <source>Enter the full (complete) name of the stock. </source>
        <translation>Geben Sie den vollen (vollständigen) Namen der Aktie ein. </translation>
    </message>
    <message>
        <source>Stock Search</source>
        <translation>Aktiensuche</translation>
    </message>
    <message>
        <source>Sorry, I couldn&apos;t find your stock. </source>
        <translation>Leider konnte ich Ihre Aktie nicht finden. </translation>
    </message>
    <message>
        <source>Next year&apos;s earnings must not be 0 for this figure.</source>
        <translation>Für diese Kennzahl darf der Gewinn des Folgejahres nicht 0 sein.</translation>
    </message>
</context>
<context>
    <name>vantora::Form13</name>
    <message>
        <source>Data1</source>
        <translation>Data1</translation>
    </message>
    <message>
        <source>Enter the full (complete) name of the Analyst </source>
        <translation>Geben Sie den vollen (vollständigen) Namen des Analysten ein </translation>
    </message>
    <message>
        <source>Analyst&apos;s Search</source>
        <translation>Analystensuche</translation>
    </message>
    <message>
        <source>Sorry, I couldn&apos;t find this analyst. </source>
        <translation>Leider konnte ich diesen Analysten nicht finden. </translation>
    </message>
</context>
<context>
    <name>vantora::Form14</name>
    <message>
        <source>High Finance</source>
        <translation>Hochfinanz</translation>
    </message>
    <message>
        <source>Sorry, but your computer is not functioning properly and that is causing an error in the program</source>
        <translation>Leider funktioniert Ihr Computer nicht richtig, und das verursacht einen Fehler im Programm</translation>
    </message>
    <message>
        <source>Sorry, I couldn&apos;t find your stock. </source>
        <translation>Leider konnte ich Ihre Aktie nicht finden. </translation>
    </message>
    <message>
        <source>Stock Search</source>
        <translation>Aktiensuche</translation>
    </message>
    <message>
        <source>Enter the full(complete) name of the company. </source>
        <translation>Geben Sie den vollen (vollständigen) Namen des Unternehmens ein. </translation>
    </message>
    <message>
        <source>Enter the full(complete) ticker symbol of the company. </source>
        <translation>Geben Sie das volle (vollständige) Tickersymbol des Unternehmens ein. </translation>
    </message>
</context>
<context>
    <name>vantora::Form2</name>
    <message>
        <source>I^P</source>
        <translation>I^P</translation>
    </message>
    <message>
        <source>Enter the full(complete) ticker symbol of the company. </source>
        <translation>Geben Sie das volle (vollständige) Tickersymbol des Unternehmens ein. </translation>
    </message>
    <message>
        <source>Stock Search</source>
        <translation>Aktiensuche</translation>
    </message>
    <message>
        <source>Sorry, I couldn&apos;t find your stock. </source>
        <translation>Leider konnte ich Ihre Aktie nicht finden. </translation>
    </message>
    <message>
        <source>Are you sure you want to buy this stock? </source>
        <translation>Wollen Sie diese Aktie wirklich kaufen? </translation>
    </message>
    <message>
        <source>Buy Stock</source>
        <translation>Aktie kaufen</translation>
    </message>
    <message>
        <source>Are you sure you want to sell this stock? </source>
        <translation>Wollen Sie diese Aktie wirklich verkaufen? </translation>
    </message>
    <message>
        <source>Sell Shares</source>
        <translation>Aktien verkaufen</translation>
    </message>
    <message>
        <source>Sorry, There is no advice at the given time</source>
        <translation>Leider gibt es zur Zeit keine Empfehlung</translation>
    </message>
</context>
<context>
    <name>vantora::Form3</name>
    <message>
        <source>ForeCaster</source>
        <translation>Prognose</translation>
    </message>
    <message>
        <source>Enter the full(complete) date of the Forecast you wish to analyze </source>
        <translation>Geben Sie das volle (vollständige) Datum der Prognose ein, die Sie auswerten möchten </translation>
    </message>
    <message>
        <source>
(for example %1 or %2)</source>
        <translation>
(zum Beispiel %1 oder %2)</translation>
    </message>
    <message>
        <source>Forecast Search</source>
        <translation>Prognosesuche</translation>
    </message>
    <message>
        <source>Sorry, I couldn&apos;t find your date. </source>
        <translation>Leider konnte ich Ihr Datum nicht finden. </translation>
    </message>
    <message>
        <source>The forecast cannot be worked out: its figures would be too large for a number. No box was changed.</source>
        <translation>Die Prognose kann nicht berechnet werden: Ihre Werte wären zu groß für eine Zahl. Kein Feld wurde geändert.</translation>
    </message>
</context>
<context>
    <name>vantora::Form6</name>
    <message>
        <source>Disclaimer :</source>
        <translation>Haftungsausschluss :</translation>
    </message>
    <message>
        <source>We will not be responsible for any losses or profits that come from use of this product, be advised that the program is not always accurate but will maintain 89.4% accuracy as a Guarantee, use in moderation !!!</source>
        <translation>Wir haften nicht für Verluste oder Gewinne aus der Nutzung dieses Produkts; beachten Sie, dass das Programm nicht immer genau ist, aber als Garantie eine Genauigkeit von 89,4 % einhält; maßvoll verwenden !!!</translation>
    </message>
</context>
<context>
    <name>vantora::HoldingsModel</name>
    <message>
        <source>Name of Stock</source>
        <translation>Name der Aktie</translation>
    </message>
    <message>
        <source>Ticker Symbol</source>
        <translation>Tickersymbol</translation>
    </message>
    <message>
        <source>Shares Owned</source>
        <translation>Stück im Bestand</translation>
    </message>
    <message>
        <source>Current Price</source>
        <translation>Aktueller Kurs</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Purchase Price</source>
        <translation>Kaufkurs</translation>
    </message>
    <message>
        <source>Profit/Loss</source>
        <translation>Gewinn/Verlust</translation>
    </message>
    <message>
        <source>P/E Ratio(C)</source>
        <translation>KGV (aktuell)</translation>
    </message>
    <message>
        <source>Advice</source>
        <translation>Empfehlung</translation>
    </message>
    <message>
        <source>Overall Rating</source>
        <translation>Gesamtbewertung</translation>
    </message>
    <message>
        <source>Realized</source>
        <translation>Realisiert</translation>
    </message>
    <message>
        <source>Dividends</source>
        <translation>Dividenden</translation>
    </message>
    <message>
        <source>Return a Year</source>
        <translation>Rendite p. a.</translation>
    </message>
    <message>
        <source>The stocks could not be read.</source>
        <translation>Die Aktien konnten nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The stocks of &quot;%1&quot; could not be read (%2).</source>
        <translation>Die Aktien von „%1“ konnten nicht gelesen werden (%2).</translation>
    </message>
    <message>
        <source>The stocks could not be read (%1).</source>
        <translation>Die Aktien konnten nicht gelesen werden (%1).</translation>
    </message>
</context>
<context>
    <name>vantora::TradesModel</name>
    <message>
        <source>Ticker Symbol</source>
        <translation>Tickersymbol</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Shares</source>
        <translation>Stückzahl</translation>
    </message>
    <message>
        <source>Price</source>
        <translation>Kurs</translation>
    </message>
    <message>
        <source>Fees</source>
        <translation>Gebühren</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>The ticker of a trade is not changed here.</source>
        <translation>Der Ticker einer Transaktion wird hier nicht geändert.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no date; write dates as %2.</source>
        <translation>„%1“ ist kein Datum; schreiben Sie Daten als %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no action; choose Buy, Sell, Dividend or Split.</source>
        <translation>„%1“ ist keine Art; wählen Sie Kauf, Verkauf, Dividende oder Split.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is too large a number.</source>
        <translation>%1: „%2“ ist eine zu große Zahl.</translation>
    </message>
    <message>
        <source>%1: %2.</source>
        <translation>%1: %2.</translation>
    </message>
</context>
<context>
    <name>vantora::form1</name>
    <message>
        <source>Target Savings</source>
        <translation>Sparziel</translation>
    </message>
    <message>
        <source>Payment (A)</source>
        <translation>Rate (Betrag)</translation>
    </message>
    <message>
        <source>Please choose a calculation</source>
        <translation>Bitte wählen Sie eine Berechnung</translation>
    </message>
    <message>
        <source>The payment amount cannot be worked out when the current age and the retirement age are the same: there are no years to pay in.</source>
        <translation>Die Ratenhöhe kann nicht berechnet werden, wenn das jetzige Alter und das Ruhestandsalter gleich sind: Es bleiben keine Jahre zum Einzahlen.</translation>
    </message>
    <message>
        <source>A daily payment amount cannot be worked out with an interest rate of 0.</source>
        <translation>Eine tägliche Rate kann mit einem Zinssatz von 0 nicht berechnet werden.</translation>
    </message>
    <message>
        <source>The result is too large to be worked out. Please check the figures.</source>
        <translation>Das Ergebnis ist zu groß, um berechnet zu werden. Bitte prüfen Sie die Werte.</translation>
    </message>
</context>
<context>
    <name>vantora::frmBrowser</name>
    <message>
        <source>Working...</source>
        <translation>Wird geladen...</translation>
    </message>
</context>
<context>
    <name>vantora::frmHoldings</name>
    <message>
        <source>(1 stock with no purchase price left out)</source>
        <translation>(1 Aktie ohne Kaufkurs nicht berücksichtigt)</translation>
    </message>
    <message>
        <source>(%1 stocks with no purchase price left out)</source>
        <translation>(%1 Aktien ohne Kaufkurs nicht berücksichtigt)</translation>
    </message>
    <message>
        <source>This stock has no ticker symbol, so it has no price history.</source>
        <translation>Diese Aktie hat kein Tickersymbol und daher keinen Kursverlauf.</translation>
    </message>
    <message>
        <source>No price history for %1. Import prices from the File menu.</source>
        <translation>Kein Kursverlauf für %1. Importieren Sie Kurse über das Menü Datei.</translation>
    </message>
    <message>
        <source>%1, %2 to %3</source>
        <translation>%1, %2 bis %3</translation>
    </message>
    <message>
        <source>52-week high and low</source>
        <translation>52-Wochen-Hoch und -Tief</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schlusskurs</translation>
    </message>
    <message>
        <source>Purchase price</source>
        <translation>Kaufkurs</translation>
    </message>
    <message>
        <source> (no history of %1 to compare)</source>
        <translation> (kein Verlauf von %1 zum Vergleich)</translation>
    </message>
    <message>
        <source>S&amp;P 500, scaled</source>
        <translation>S&amp;P 500, skaliert</translation>
    </message>
    <message>
        <source>Buys</source>
        <translation>Käufe</translation>
    </message>
    <message>
        <source>Sells</source>
        <translation>Verkäufe</translation>
    </message>
</context>
<context>
    <name>vantora::frmPreferences</name>
    <message>
        <source>The key is kept in the desktop&apos;s keyring.</source>
        <translation>Der Schlüssel wird im Schlüsselbund der Arbeitsumgebung aufbewahrt.</translation>
    </message>
    <message>
        <source>The key is kept in the settings file &quot;%1&quot;, readable by you only (%2).</source>
        <translation>Der Schlüssel wird in der Einstellungsdatei „%1“ aufbewahrt, die nur Sie lesen können (%2).</translation>
    </message>
    <message>
        <source>it was saved there</source>
        <translation>er wurde dort gespeichert</translation>
    </message>
    <message>
        <source>Asking…</source>
        <translation>Anfrage läuft…</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>the key could not be saved</source>
        <translation>der Schlüssel konnte nicht gespeichert werden</translation>
    </message>
    <message>
        <source>The key is kept in the settings file &quot;%1&quot;, readable by you only: %2.</source>
        <translation>Der Schlüssel wird in der Einstellungsdatei „%1“ aufbewahrt, die nur Sie lesen können: %2.</translation>
    </message>
    <message>
        <source>the settings file &quot;%1&quot; could not be written</source>
        <translation>die Einstellungsdatei „%1“ konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>The preferences were not all saved: %1.</source>
        <translation>Nicht alle Einstellungen wurden gespeichert: %1.</translation>
    </message>
</context>
<context>
    <name>vantora::frmScorecard</name>
    <message>
        <source>Days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>Days with a forecast and the day&apos;s figures to score it against.</source>
        <translation>Tage mit einer Prognose und den Werten des Tages, an denen sie gemessen wird.</translation>
    </message>
    <message>
        <source>Close in range
(%)</source>
        <translation>Schluss in
Spanne (%)</translation>
    </message>
    <message>
        <source>Share of days whose close lay between the forecast low and high.</source>
        <translation>Anteil der Tage, deren Schlusskurs zwischen dem prognostizierten Tief und Hoch lag.</translation>
    </message>
    <message>
        <source>95% interval of
close in range (%)</source>
        <translation>95-%-KI
Schluss (%)</translation>
    </message>
    <message>
        <source>The 95% confidence interval (Wilson&apos;s) of the share of closes in range, for this many days.</source>
        <translation>Das 95-%-Konfidenzintervall (KI, nach Wilson) des Anteils der Schlusskurse in der Spanne, für so viele Tage.</translation>
    </message>
    <message>
        <source>Range held
(%)</source>
        <translation>Spanne
gehalten (%)</translation>
    </message>
    <message>
        <source>Share of days whose whole range held inside the forecast: the day&apos;s low at or above the forecast low and its high at or below the forecast high.</source>
        <translation>Anteil der Tage, deren ganze Spanne innerhalb der Prognose blieb: das Tief des Tages auf oder über dem prognostizierten Tief und sein Hoch auf oder unter dem prognostizierten Hoch.</translation>
    </message>
    <message>
        <source>Mean error of
the high (points)</source>
        <translation>Fehler Hoch
(Punkte)</translation>
    </message>
    <message>
        <source>Mean distance between the forecast high and the day&apos;s high, in index points.</source>
        <translation>Mittlerer Abstand zwischen dem prognostizierten Hoch und dem Hoch des Tages, in Indexpunkten.</translation>
    </message>
    <message>
        <source>Mean error of
the low (points)</source>
        <translation>Fehler Tief
(Punkte)</translation>
    </message>
    <message>
        <source>Mean distance between the forecast low and the day&apos;s low, in index points.</source>
        <translation>Mittlerer Abstand zwischen dem prognostizierten Tief und dem Tief des Tages, in Indexpunkten.</translation>
    </message>
    <message>
        <source>Naive: close in
range (%)</source>
        <translation>Naiv: Schluss
in Spanne (%)</translation>
    </message>
    <message>
        <source>The same for the naive forecast: the previous trading day&apos;s high and low.</source>
        <translation>Dasselbe für die naive Prognose: Hoch und Tief des vorigen Handelstages.</translation>
    </message>
    <message>
        <source>Naive: range
held (%)</source>
        <translation>Naiv: Spanne
gehalten (%)</translation>
    </message>
    <message>
        <source>Naive: mean error
of the high (points)</source>
        <translation>Naiv: Fehler
Hoch (Pkt.)</translation>
    </message>
    <message>
        <source>Naive: mean error
of the low (points)</source>
        <translation>Naiv: Fehler
Tief (Pkt.)</translation>
    </message>
    <message>
        <source>All three</source>
        <translation>Alle drei</translation>
    </message>
    <message>
        <source>Nothing to score yet: %1. Import the three indices and the market breadth with Import Prices in the File menu.</source>
        <translation>Noch nichts zu bewerten: %1. Importieren Sie die drei Indizes und die Marktbreite mit Kurse importieren im Menü Datei.</translation>
    </message>
    <message>
        <source>95% interval %1–%2 over %3 index days</source>
        <translation>95-%-Intervall %1–%2 über %3 Indextage</translation>
    </message>
    <message>
        <source>Choose one index to see its days.</source>
        <translation>Wählen Sie einen Index, um seine Tage zu sehen.</translation>
    </message>
    <message>
        <source>No day of the %1 to score.</source>
        <translation>Kein Tag des %1 zu bewerten.</translation>
    </message>
    <message>
        <source>%1: %2 days scored, %3 to %4</source>
        <translation>%1: %2 Tage bewertet, %3 bis %4</translation>
    </message>
    <message>
        <source>Forecast range</source>
        <translation>Prognosespanne</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schlusskurs</translation>
    </message>
    <message>
        <source>Close outside the range</source>
        <translation>Schlusskurs außerhalb der Spanne</translation>
    </message>
</context>
<context>
    <name>vantora::frmTip</name>
    <message>
        <source>That the %1 file was not found? <byte value="xd"/>
<byte value="xd"/>
Create a text file named %1 using NotePad with 1 tip per line. Then place it in the same directory as the application. </source>
        <translation>Dass die Datei %1 nicht gefunden wurde? <byte value="xd"/>
<byte value="xd"/>
Legen Sie mit einem Texteditor eine Textdatei namens %1 an, mit 1 Tipp pro Zeile. Legen Sie sie dann in denselben Ordner wie das Programm. </translation>
    </message>
    <message>
        <source>Your choice could not be kept: the settings file &quot;%1&quot; cannot be written, so &quot;Show Tips at Startup&quot; stays as it was when the program starts next time.</source>
        <translation>Ihre Wahl konnte nicht gespeichert werden: Die Einstellungsdatei „%1“ lässt sich nicht schreiben, daher bleibt „Tipps beim Start anzeigen“ beim nächsten Programmstart, wie es war.</translation>
    </message>
</context>
<context>
    <name>vantora::frmTrades</name>
    <message>
        <source>All stocks</source>
        <translation>Alle Aktien</translation>
    </message>
    <message>
        <source>No trades yet.</source>
        <translation>Noch keine Transaktionen.</translation>
    </message>
    <message>
        <source>%1 shares at %2</source>
        <translation>%1 Stück zu %2</translation>
    </message>
    <message>
        <source>The stock&apos;s record has %1 shares at %2; its trades give %3.</source>
        <translation>Der Datensatz der Aktie hat %1 Stück zu %2; ihre Transaktionen ergeben %3.</translation>
    </message>
    <message>
        <source>no</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>no price</source>
        <translation>keinem Kurs</translation>
    </message>
    <message>
        <source>The stock has no record; its trades give %1.</source>
        <translation>Die Aktie hat keinen Datensatz; ihre Transaktionen ergeben %1.</translation>
    </message>
    <message>
        <source>Trades</source>
        <translation>Transaktionen</translation>
    </message>
    <message>
        <source>Choose the stock to add a trade to.</source>
        <translation>Wählen Sie die Aktie, der eine Transaktion hinzugefügt werden soll.</translation>
    </message>
    <message>
        <source>Choose the trade to delete.</source>
        <translation>Wählen Sie die zu löschende Transaktion.</translation>
    </message>
    <message>
        <source>Delete the trade of %1 (%2)?</source>
        <translation>Die Transaktion vom %1 (%2) löschen?</translation>
    </message>
    <message>
        <source>Import Trades</source>
        <translation>Transaktionen importieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSV-Dateien (*.csv);;Alle Dateien (*)</translation>
    </message>
</context>
</TS>
