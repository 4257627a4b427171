<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="en">
<context>
    <name>Chain</name>
    <message>
        <source>Statistica sconosciuta: &quot;%1&quot;.</source>
        <translation>Statistica sconosciuta: &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Dettaglio sconosciuto per &quot;%1&quot;: &quot;%2&quot;.</source>
        <translation>Dettaglio sconosciuto per &quot;%1&quot;: &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>Anno non valido: &quot;%1&quot; (quattro cifre, da 1001 a 9998).</source>
        <translation>Anno non valido: &quot;%1&quot; (quattro cifre, da 1001 a 9998).</translation>
    </message>
    <message>
        <source>Totale catena</source>
        <translation>Totale catena</translation>
    </message>
    <message>
        <source>Albergo</source>
        <translation>Albergo</translation>
    </message>
    <message>
        <source>Totale</source>
        <translation>Totale</translation>
    </message>
    <message>
        <source>% su %1</source>
        <translation>% su %1</translation>
    </message>
</context>
<context>
    <name>Chart</name>
    <message>
        <source> 1 - Torta 2D</source>
        <translation> 1 - Torta 2D</translation>
    </message>
    <message>
        <source> 2 - Torta 3D</source>
        <translation> 2 - Torta 3D</translation>
    </message>
    <message>
        <source> 3 - Barre 2D</source>
        <translation> 3 - Barre 2D</translation>
    </message>
    <message>
        <source> 4 - Barre 3D</source>
        <translation> 4 - Barre 3D</translation>
    </message>
    <message>
        <source> 5 - Gantt   </source>
        <translation> 5 - Gantt   </translation>
    </message>
    <message>
        <source> 6 - Linee   </source>
        <translation> 6 - Linee   </translation>
    </message>
    <message>
        <source> 7 - Logico/Lineare</source>
        <translation> 7 - Logico/Lineare</translation>
    </message>
    <message>
        <source> 8 - Area</source>
        <translation> 8 - Area</translation>
    </message>
    <message>
        <source> 9 - Dispersione</source>
        <translation> 9 - Dispersione</translation>
    </message>
    <message>
        <source>10 - Polare</source>
        <translation>10 - Polare</translation>
    </message>
    <message>
        <source>11 - Min/Max</source>
        <translation>11 - Min/Max</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>--dir needs a folder</source>
        <translation>--dir vuole una cartella: zentoria --dir CARTELLA COMANDO ...</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>opzione sconosciuta %1</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>comando sconosciuto &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Try &apos;zentoria --help&apos;.</source>
        <translation>Per l&apos;elenco dei comandi e delle opzioni: zentoria --help</translation>
    </message>
    <message>
        <source>unexpected argument &quot;%1&quot;</source>
        <translation>argomento inatteso &quot;%1&quot;: le opzioni si scrivono --nome VALORE</translation>
    </message>
    <message>
        <source>--%1 is required</source>
        <translation>manca --%1: aggiungerla al comando</translation>
    </message>
    <message>
        <source>--%1 takes a whole number, not &quot;%2&quot;</source>
        <translation>--%1 vuole un numero intero, non &quot;%2&quot;</translation>
    </message>
    <message>
        <source>nothing registered.</source>
        <translation>non è stato registrato nulla.</translation>
    </message>
    <message>
        <source>nothing recomputed.</source>
        <translation>non è stato ricalcolato nulla.</translation>
    </message>
    <message>
        <source>no display available (DISPLAY is not set): showing the grid instead of the window.</source>
        <translation>nessuno schermo disponibile (DISPLAY non è impostata): al posto della finestra viene mostrata la griglia.</translation>
    </message>
    <message>
        <source>there is no report file to print (%1).</source>
        <translation>non c&apos;è un file di stampa da stampare (%1). Scriverlo prima con &quot;zentoria report&quot;.</translation>
    </message>
    <message>
        <source>warning: no archive copy: %1</source>
        <translation>attenzione: nessuna copia d&apos;archivio: %1</translation>
    </message>
    <message>
        <source>no print destination in Stampanti.mdb (records with NumeroHotel = 1)</source>
        <translation>nessuna destinazione di stampa in Stampanti.mdb (righe con NumeroHotel = 1): aggiungerne una</translation>
    </message>
    <message>
        <source>no print destination &quot;%1&quot;; there are: %2</source>
        <translation>nessuna destinazione di stampa &quot;%1&quot;; scegliere una di queste: %2</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(nessuno)</translation>
    </message>
    <message>
        <source>no hotel numbered %1; the hotels are:</source>
        <translation>nessun albergo con il numero %1; scegliere uno di questi:</translation>
    </message>
    <message>
        <source>unknown statistic &quot;%1&quot;; the statistics are:</source>
        <translation>statistica sconosciuta &quot;%1&quot;; scegliere una di queste:</translation>
    </message>
    <message>
        <source>no detail &quot;%1&quot; for &quot;%2&quot;; the details are:</source>
        <translation>nessun dettaglio &quot;%1&quot; per &quot;%2&quot;; scegliere uno di questi:</translation>
    </message>
    <message>
        <source>the current folder %1 holds no hotel registry (%2); name the working folder with --dir: zentoria --dir FOLDER COMMAND ...</source>
        <translation>la cartella corrente %1 non contiene l&apos;archivio degli alberghi (%2); indicare la cartella di lavoro con --dir: zentoria --dir CARTELLA COMANDO ...</translation>
    </message>
    <message>
        <source>Usage: zentoria [--dir FOLDER] [COMMAND [ARGS]]

Shows a hotel&apos;s monthly and annual figures. FOLDER is the working folder that
holds the hotel&apos;s database files. Without --dir a command works on the current
folder when it holds the hotel registry (AnagraficaHotels.mdb); the window then
tries the folder last chosen in its folder dialog and else asks for one.

Commands:
  (none)                  open the window on the working folder
  grid --hotel N --year Y --stat NAME --detail ITEM
                          print the twelve month values the window&apos;s grid shows
  diff --hotel N --year A --with B --stat NAME --detail ITEM
                          the year differences (&quot;&amp;Ok&quot;): the chart title, then
                          twelve lines &quot;set1&lt;TAB&gt;set2&quot;
  ratio --hotel N --year Y --stat A --detail DA --with-stat B --with-detail DB
                          the month comparison (&quot;&amp;Conferma&quot;): the title, then
                          twelve values
  register --hotel N --year Y --stat NAME --detail ITEM --values &quot;v1;...;v12&quot; [--yes]
                          types the twelve values and presses &quot;&amp;Registra&quot;
  report --hotel N --year Y --stat NAME --detail ITEM
                          writes the report file (&quot;&amp;Stampa&quot;) and prints its path;
                          &quot;Presenze x Tipo Cliente&quot; with --detail &quot;&quot; writes one
                          block per client type
  chain STATISTICA DETTAGLIO ANNO [--csv]
                          every hotel&apos;s twelve months, year total and change
                          against the year before in %, and the chain&apos;s total
                          (tab-separated text, or CSV with SeparatoreXLS.txt&apos;s
                          separator)
  serve [--listen ADDR:PORT] [--tls-cert FILE --tls-key FILE] [--timeout S]
                          a read-only web server of the grid, chain and report
                          pages (default 127.0.0.1:8080; docs/WEB.md)
  print [--destination NAME] [--compressed] [--landscape] [--duplex] [--pdf FILE]
                          prints the report file as the print menu does
  export-csv              writes the report as CSV and prints the file&apos;s path
  recompute --hotel N --year Y --stat NAME [--yes]
                          recomputes the year from the operational files
                          (&quot;&amp;Aggiorna&quot;): &quot;Produzione&quot;, &quot;Cassa&quot;, &quot;Fatturato&quot; or
                          &quot;Presenze&quot;; prints each detail&apos;s code and twelve values
  convert SOURCE TARGET   copy every table of an Access (.mdb) file into a new
                          SQLite file (refuses an existing TARGET)
  passwd [--clear]        set, change or clear the management password
  figures init            create the figure tables and the management password&apos;s
                          table on the server named by ZENTORIA_FIGURES_DB
                          (docs/FIGURES_SERVER.md)
  figures init --grants [READ_ROLE WRITE_ROLE]
                          print the GRANT statements of a read-only and a
                          read-write role for the workstations
  figures push [--hotel N]
                          copy the figure files into that server
  figures pull [--hotel N]
                          write the server&apos;s figures back into the files
  demo FOLDER [--force] [--access]
                          write a demo working folder (refuses a non-empty
                          folder unless --force); --access writes its
                          databases as Access files
  --help                  show this text
  --version               show the program&apos;s version

Commands that read figures ask for the management password when one is set:
on the terminal, or from the environment variable ZENTORIA_PASSWORD.
</source>
        <translation>Uso: zentoria [--dir CARTELLA] [COMANDO [ARGOMENTI]]

Mostra le cifre mensili e annuali di un albergo. CARTELLA è la cartella di lavoro
che contiene i file dei dati dell&apos;albergo. Senza --dir un comando lavora sulla
cartella corrente quando contiene l&apos;anagrafica degli alberghi (AnagraficaHotels.mdb);
la finestra prova allora la cartella scelta l&apos;ultima volta nella sua finestra di
scelta, altrimenti ne chiede una.

Comandi:
  (nessuno)               apre la finestra sulla cartella di lavoro
  grid --hotel N --year Y --stat NOME --detail VOCE
                          stampa i dodici valori mensili che la griglia della
                          finestra mostra
  diff --hotel N --year A --with B --stat NOME --detail VOCE
                          le differenze fra anni (&quot;&amp;Ok&quot;): il titolo del grafico,
                          poi dodici righe &quot;serie1&lt;TAB&gt;serie2&quot;
  ratio --hotel N --year Y --stat A --detail DA --with-stat B --with-detail DB
                          il confronto dei mesi (&quot;&amp;Conferma&quot;): il titolo, poi
                          dodici valori
  register --hotel N --year Y --stat NOME --detail VOCE --values &quot;v1;...;v12&quot; [--yes]
                          scrive i dodici valori e preme &quot;&amp;Registra&quot;
  report --hotel N --year Y --stat NOME --detail VOCE
                          scrive il file della stampa (&quot;&amp;Stampa&quot;) e ne stampa il
                          percorso; &quot;Presenze x Tipo Cliente&quot; con --detail &quot;&quot;
                          scrive un riquadro per tipo di cliente
  chain STATISTICA DETTAGLIO ANNO [--csv]
                          i dodici mesi di ogni albergo, il totale dell&apos;anno e la
                          variazione in % sull&apos;anno prima, e il totale della
                          catena (testo separato da tabulazioni, o CSV con il
                          separatore di SeparatoreXLS.txt)
  serve [--listen IND:PORTA] [--tls-cert FILE --tls-key FILE] [--timeout S]
                          un server web in sola lettura delle pagine della
                          griglia, della catena e della stampa (predefinito
                          127.0.0.1:8080; docs/WEB.md)
  print [--destination NOME] [--compressed] [--landscape] [--duplex] [--pdf FILE]
                          stampa il file della stampa come fa il menu di stampa
  export-csv              scrive la stampa come CSV e stampa il percorso del file
  recompute --hotel N --year Y --stat NOME [--yes]
                          ricalcola l&apos;anno dai file operativi (&quot;&amp;Aggiorna&quot;):
                          &quot;Produzione&quot;, &quot;Cassa&quot;, &quot;Fatturato&quot; o &quot;Presenze&quot;; stampa
                          il codice e i dodici valori di ogni dettaglio
  convert ORIGINE DESTINAZIONE
                          copia ogni tabella di un file Access (.mdb) in un nuovo
                          file SQLite (rifiuta una DESTINAZIONE che esiste)
  passwd [--clear]        imposta, cambia o toglie la password di Direzione
  figures init            crea le tabelle delle cifre e la tabella della password
                          di Direzione sul server indicato da ZENTORIA_FIGURES_DB
                          (docs/FIGURES_SERVER.md)
  figures init --grants [RUOLO_LETTURA RUOLO_SCRITTURA]
                          stampa le istruzioni GRANT di un ruolo in sola lettura e
                          di uno in lettura e scrittura per le postazioni
  figures push [--hotel N]
                          copia i file delle cifre su quel server
  figures pull [--hotel N]
                          riscrive nei file le cifre del server
  demo CARTELLA [--force] [--access]
                          scrive una cartella di lavoro dimostrativa (rifiuta una
                          cartella non vuota senza --force); --access ne scrive i
                          database come file Access
  --help                  mostra questo testo
  --version               mostra la versione del programma

I comandi che leggono le cifre chiedono la password di Direzione quando è
impostata: sul terminale, o dalla variabile d&apos;ambiente ZENTORIA_PASSWORD.
</translation>
    </message>
    <message>
        <source>--timeout takes 1 to 3600 seconds</source>
        <translation>--timeout vuole da 1 a 3600 secondi</translation>
    </message>
    <message>
        <source>--listen takes ADDR:PORT</source>
        <translation>--listen vuole INDIRIZZO:PORTA (per esempio 127.0.0.1:8080)</translation>
    </message>
    <message>
        <source>--listen: the port must be a number from 0 to 65535</source>
        <translation>--listen: la porta deve essere un numero da 0 a 65535</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 vuole un valore: %1 VALORE</translation>
    </message>
    <message>
        <source>--values takes twelve values separated by &quot;;&quot;, not %1</source>
        <translation>--values vuole dodici valori separati da &quot;;&quot;, non %1: un valore per ogni mese, da gennaio a dicembre</translation>
    </message>
    <message>
        <source>unknown option %1 for %2</source>
        <translation>opzione sconosciuta %1 per %2</translation>
    </message>
    <message>
        <source>chain takes STATISTICA DETTAGLIO ANNO [--csv]</source>
        <translation>chain vuole STATISTICA DETTAGLIO ANNO [--csv], per esempio: zentoria chain Presenze Generale 2025</translation>
    </message>
    <message>
        <source>demo takes one folder</source>
        <translation>demo vuole una sola cartella: zentoria demo CARTELLA [--force] [--access]</translation>
    </message>
    <message>
        <source>demo needs a folder: zentoria demo FOLDER [--force] [--access]</source>
        <translation>demo vuole una cartella: zentoria demo CARTELLA [--force] [--access]</translation>
    </message>
    <message>
        <source>convert needs a source and a target: zentoria convert SOURCE.mdb TARGET.mdb</source>
        <translation>convert vuole un file di origine e uno di destinazione: zentoria convert ORIGINE.mdb DESTINAZIONE.mdb</translation>
    </message>
    <message>
        <source>this is an SQLite file already; there is nothing to convert</source>
        <translation>è già un file SQLite: non c&apos;è niente da convertire</translation>
    </message>
    <message>
        <source>the file is empty (0 bytes): it holds no tables, so there is nothing to convert</source>
        <translation>il file è vuoto (0 byte): non contiene tabelle, quindi non c&apos;è niente da convertire</translation>
    </message>
    <message>
        <source>this is not a plain file (a pipe, a device or a folder): it is not read</source>
        <translation>non è un file normale (una pipe, un dispositivo o una cartella): non viene letto. Indicare un file Access (.mdb)</translation>
    </message>
    <message>
        <source>%1: %2 row</source>
        <translation>%1: %2 riga</translation>
    </message>
    <message>
        <source>%1: %2 rows</source>
        <translation>%1: %2 righe</translation>
    </message>
    <message>
        <source>%1 table copied into %2</source>
        <translation>%1 tabella copiata in %2</translation>
    </message>
    <message>
        <source>%1 tables copied into %2</source>
        <translation>%1 tabelle copiate in %2</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>impossibile creare %1: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>impossibile scrivere %1: %2</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>memoria esaurita</translation>
    </message>
    <message>
        <source>cannot write the demo into %1: it is not a folder; name a new or empty folder</source>
        <translation>impossibile scrivere la dimostrazione in %1: non è una cartella. Indicare una cartella nuova o vuota</translation>
    </message>
    <message>
        <source>the folder %1 is not empty; the demo is written only into a new or empty folder (--force writes it anyway, replacing only the demo&apos;s own files)</source>
        <translation>la cartella %1 non è vuota: la dimostrazione si scrive solo in una cartella nuova o vuota. Indicarne un&apos;altra, oppure aggiungere --force per scriverla comunque (sostituisce solo i file della dimostrazione)</translation>
    </message>
    <message>
        <source>cannot create the folder %1: %2</source>
        <translation>impossibile creare la cartella %1: %2</translation>
    </message>
    <message>
        <source>the demo needs a valid date for today</source>
        <translation>la dimostrazione vuole una data di oggi valida: controllare la data del sistema</translation>
    </message>
    <message>
        <source>cannot open %1</source>
        <translation>impossibile aprire %1</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>impossibile leggere %1: %2</translation>
    </message>
    <message>
        <source>Demo installation in %1</source>
        <translation>Installazione dimostrativa in %1</translation>
    </message>
    <message>
        <source>Files: Access (Jet 4), the summary Zentoria.mdb SQLite</source>
        <translation>File: Access (Jet 4), il riepilogo Zentoria.mdb SQLite</translation>
    </message>
    <message>
        <source>Hotels:</source>
        <translation>Alberghi:</translation>
    </message>
    <message>
        <source>Years:</source>
        <translation>Anni:</translation>
    </message>
    <message>
        <source>(data up to %1)</source>
        <translation>(dati fino al %1)</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Table</source>
        <translation>Tabella</translation>
    </message>
    <message>
        <source>Rows</source>
        <translation>Righe</translation>
    </message>
    <message>
        <source>(text)</source>
        <translation>(testo)</translation>
    </message>
    <message>
        <source>Total: %1 rows in %2 files</source>
        <translation>Totale: %1 righe in %2 file</translation>
    </message>
    <message>
        <source>unknown argument &quot;%1&quot; for figures %2</source>
        <translation>argomento sconosciuto &quot;%1&quot; per figures %2: l&apos;unica opzione è --hotel N</translation>
    </message>
    <message>
        <source>--hotel is given twice</source>
        <translation>--hotel compare due volte: indicarlo una volta sola</translation>
    </message>
    <message>
        <source>--hotel needs a number</source>
        <translation>--hotel vuole un numero: --hotel N</translation>
    </message>
    <message>
        <source>%1 is not set: it names the figure database, as a libpq connection string (&quot;host=... dbname=...&quot;) or URI (&quot;postgresql://...&quot;); set it, then run the command again</source>
        <translation>%1 non è impostata: indica il database delle cifre, come stringa di connessione di libpq (&quot;host=... dbname=...&quot;) o URI (&quot;postgresql://...&quot;). Impostarla, poi ripetere il comando</translation>
    </message>
    <message>
        <source>hotel %1</source>
        <translation>albergo %1</translation>
    </message>
    <message>
        <source>no hotel number</source>
        <translation>senza numero di albergo</translation>
    </message>
    <message>
        <source>%1, %2: not copied, the server keeps its rows as they were: %3</source>
        <translation>%1, %2: non copiato, il server tiene le sue righe com&apos;erano: %3</translation>
    </message>
    <message>
        <source>%1, %2: %3 row, sum of Valore %4</source>
        <translation>%1, %2: %3 riga, somma di Valore %4</translation>
    </message>
    <message>
        <source>%1, %2: %3 rows, sum of Valore %4</source>
        <translation>%1, %2: %3 righe, somma di Valore %4</translation>
    </message>
    <message>
        <source>figures needs what to do: %1</source>
        <translation>figures vuole che cosa fare: %1</translation>
    </message>
    <message>
        <source>figures init takes no arguments but --grants [READ_ROLE WRITE_ROLE]</source>
        <translation>figures init non vuole altri argomenti che --grants [RUOLO_LETTURA RUOLO_SCRITTURA]</translation>
    </message>
    <message>
        <source>figures init --grants takes no role names or two</source>
        <translation>figures init --grants vuole due nomi di ruolo, o nessuno</translation>
    </message>
    <message>
        <source>%1: created</source>
        <translation>%1: creata</translation>
    </message>
    <message>
        <source>%1: already there</source>
        <translation>%1: c&apos;era già</translation>
    </message>
    <message>
        <source>figure tables ready on PostgreSQL server %1</source>
        <translation>tabelle delle cifre pronte sul server PostgreSQL %1</translation>
    </message>
    <message>
        <source>unknown figures command &quot;%1&quot;: %2</source>
        <translation>comando figures sconosciuto &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>the management password of %1 is now the server&apos;s: every workstation is asked for it</source>
        <translation>la password di Direzione di %1 ora è quella del server: viene chiesta a ogni postazione</translation>
    </message>
    <message>
        <source>copied into PostgreSQL server %1</source>
        <translation>copiato nel server PostgreSQL %1</translation>
    </message>
    <message>
        <source>the hotels above copied into PostgreSQL server %1</source>
        <translation>gli alberghi qui sopra sono stati copiati nel server PostgreSQL %1</translation>
    </message>
    <message>
        <source>written into the figure files from PostgreSQL server %1</source>
        <translation>scritto nei file delle cifre dal server PostgreSQL %1</translation>
    </message>
    <message>
        <source>unexpected argument &quot;%1&quot; for %2</source>
        <translation>argomento inatteso &quot;%1&quot; per %2</translation>
    </message>
    <message>
        <source>Usage: %1</source>
        <translation>Uso: %1</translation>
    </message>
    <message>
        <source>(default printer)</source>
        <translation>(stampante predefinita)</translation>
    </message>
    <message>
        <source>export-csv takes no arguments</source>
        <translation>export-csv non vuole argomenti: zentoria export-csv</translation>
    </message>
    <message>
        <source>zentoria figures init [--grants [READ_ROLE WRITE_ROLE]] | push [--hotel N] | pull [--hotel N]</source>
        <translation>zentoria figures init [--grants [RUOLO_LETTURA RUOLO_SCRITTURA]] | push [--hotel N] | pull [--hotel N]</translation>
    </message>
    <message>
        <source>zentoria print [--destination NAME] [--compressed] [--landscape] [--duplex] [--pdf FILE]</source>
        <translation>zentoria print [--destination NOME] [--compressed] [--landscape] [--duplex] [--pdf FILE]</translation>
    </message>
</context>
<context>
    <name>DeskLogic</name>
    <message>
        <source>Zentoria</source>
        <translation>Zentoria</translation>
    </message>
    <message>
        <source>La statistica &quot;%1&quot; non può essere ricalcolata: &quot;Aggiorna&quot; ricalcola solo &quot;Produzione&quot;, &quot;Fatturato&quot;, &quot;Cassa&quot; e &quot;Presenze&quot;. Nessun mese è stato scritto.</source>
        <translation>La statistica &quot;%1&quot; non può essere ricalcolata: &quot;Aggiorna&quot; ricalcola solo &quot;Produzione&quot;, &quot;Fatturato&quot;, &quot;Cassa&quot; e &quot;Presenze&quot;. Nessun mese è stato scritto.</translation>
    </message>
    <message>
        <source>%1 Nessun mese è stato ricalcolato.</source>
        <translation>%1 Nessun mese è stato ricalcolato.</translation>
    </message>
    <message>
        <source>Dettaglio %1 di %2: %3
Mese: %4</source>
        <translation>Dettaglio %1 di %2: %3
Mese: %4</translation>
    </message>
    <message>
        <source>Sei sicuro?</source>
        <translation>Sei sicuro?</translation>
    </message>
    <message>
        <source>albergo %1, %2 – %3, anno %4</source>
        <translation>albergo %1, %2 – %3, anno %4</translation>
    </message>
    <message>
        <source>La statistica &quot;%1&quot; non può essere registrata: il riepilogo mensile non tiene i suoi valori. Nessun mese è stato registrato; per registrare scegliere un&apos;altra statistica.</source>
        <translation>La statistica &quot;%1&quot; non può essere registrata: il riepilogo mensile non tiene i suoi valori. Nessun mese è stato registrato; per registrare scegliere un&apos;altra statistica.</translation>
    </message>
    <message>
        <source>Nessun dettaglio scelto per &quot;%1&quot;: i mesi si registrano per un dettaglio alla volta. Scegliere un dettaglio, poi premere di nuovo &quot;Registra&quot;.</source>
        <translation>Nessun dettaglio scelto per &quot;%1&quot;: i mesi si registrano per un dettaglio alla volta. Scegliere un dettaglio, poi premere di nuovo &quot;Registra&quot;.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; somma tutti i dettagli di &quot;%2&quot; e non può essere registrato. Scegliere un dettaglio, poi premere di nuovo &quot;Registra&quot;.</source>
        <translation>&quot;%1&quot; somma tutti i dettagli di &quot;%2&quot; e non può essere registrato. Scegliere un dettaglio, poi premere di nuovo &quot;Registra&quot;.</translation>
    </message>
    <message>
        <source>Il dettaglio &quot;%1&quot; di &quot;%2&quot; non può essere registrato. Scegliere un gruppo di clienti (da &quot;Generale&quot; a &quot;Famiglia&quot;) o un trattamento (da &quot;Solo Pernottamento&quot; a &quot;Pensione Completa&quot;).</source>
        <translation>Il dettaglio &quot;%1&quot; di &quot;%2&quot; non può essere registrato. Scegliere un gruppo di clienti (da &quot;Generale&quot; a &quot;Famiglia&quot;) o un trattamento (da &quot;Solo Pernottamento&quot; a &quot;Pensione Completa&quot;).</translation>
    </message>
    <message>
        <source>%1 Nessun mese è stato registrato.</source>
        <translation>%1 Nessun mese è stato registrato.</translation>
    </message>
    <message>
        <source>Sei sicuro? Saranno registrati i 12 mesi di:</source>
        <translation>Sei sicuro? Saranno registrati i 12 mesi di:</translation>
    </message>
    <message>
        <source>(nessuno)</source>
        <translation>(nessuno)</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>   ← ATTENZIONE: i mesi mostrati sono di %1</source>
        <translation>   ← ATTENZIONE: i mesi mostrati sono di %1</translation>
    </message>
    <message>
        <source>Albergo</source>
        <translation>Albergo</translation>
    </message>
    <message>
        <source>Statistica</source>
        <translation>Statistica</translation>
    </message>
    <message>
        <source>Dettaglio</source>
        <translation>Dettaglio</translation>
    </message>
    <message>
        <source>Anno</source>
        <translation>Anno</translation>
    </message>
    <message>
        <source>I valori nei campi dei mesi sono stati caricati per %1, non per %2. Rispondendo Si, le cifre registrate per questa scelta saranno sostituite da quelle mostrate. Per vederle prima, rispondere No e scegliere di nuovo il dettaglio.</source>
        <translation>I valori nei campi dei mesi sono stati caricati per %1, non per %2. Rispondendo Si, le cifre registrate per questa scelta saranno sostituite da quelle mostrate. Per vederle prima, rispondere No e scegliere di nuovo il dettaglio.</translation>
    </message>
    <message>
        <source>%1 vuoto: sarà registrato come 0.</source>
        <translation>%1 vuoto: sarà registrato come 0.</translation>
    </message>
    <message>
        <source>%1 vuoti: saranno registrati come 0.</source>
        <translation>%1 vuoti: saranno registrati come 0.</translation>
    </message>
    <message>
        <source>Il valore di %1 (&quot;%2&quot;) non è un numero: non è stato registrato nessun mese. Correggere il campo, poi premere di nuovo &quot;Registra&quot;.</source>
        <translation>Il valore di %1 (&quot;%2&quot;) non è un numero: non è stato registrato nessun mese. Correggere il campo, poi premere di nuovo &quot;Registra&quot;.</translation>
    </message>
    <message>
        <source>Registrati 12 mesi: %1</source>
        <translation>Registrati 12 mesi: %1</translation>
    </message>
    <message>
        <source>Un record ha %1 = &quot;%2&quot;: il mese non è tra 01 e 12. Confronto interrotto.</source>
        <translation>Un record ha %1 = &quot;%2&quot;: il mese non è tra 01 e 12. Confronto interrotto.</translation>
    </message>
    <message>
        <source>Diff. %1-%2 (%3-%4)</source>
        <translation>Diff. %1-%2 (%3-%4)</translation>
    </message>
    <message>
        <source>Conf. (%1-%2)-(%3-%4)</source>
        <translation>Conf. (%1-%2)-(%3-%4)</translation>
    </message>
    <message>
        <source>Gennaio ...........................:</source>
        <translation>Gennaio ...........................:</translation>
    </message>
    <message>
        <source>Febbraio ...........................:</source>
        <translation>Febbraio ...........................:</translation>
    </message>
    <message>
        <source>Marzo ...............................:</source>
        <translation>Marzo ...............................:</translation>
    </message>
    <message>
        <source>Aprile ................................:</source>
        <translation>Aprile ................................:</translation>
    </message>
    <message>
        <source>Maggio .............................:</source>
        <translation>Maggio .............................:</translation>
    </message>
    <message>
        <source>Giugno .............................:</source>
        <translation>Giugno .............................:</translation>
    </message>
    <message>
        <source>Luglio ...............................:</source>
        <translation>Luglio ...............................:</translation>
    </message>
    <message>
        <source>Agosto ..............................:</source>
        <translation>Agosto ..............................:</translation>
    </message>
    <message>
        <source>Settembre ........................:</source>
        <translation>Settembre ........................:</translation>
    </message>
    <message>
        <source>Ottobre ............................:</source>
        <translation>Ottobre ............................:</translation>
    </message>
    <message>
        <source>Novembre ........................:</source>
        <translation>Novembre ........................:</translation>
    </message>
    <message>
        <source>Dicembre .........................:</source>
        <translation>Dicembre .........................:</translation>
    </message>
    <message>
        <source>Zentorio Mensile / Annuale</source>
        <translation>Zentorio Mensile / Annuale</translation>
    </message>
    <message>
        <source>Anno </source>
        <translation>Anno </translation>
    </message>
    <message>
        <source>Tipo  </source>
        <translation>Tipo  </translation>
    </message>
    <message>
        <source>Dett. </source>
        <translation>Dett. </translation>
    </message>
    <message>
        <source>Grafico ..:</source>
        <translation>Grafico ..:</translation>
    </message>
    <message>
        <source>Differenza con :</source>
        <translation>Differenza con :</translation>
    </message>
    <message>
        <source>Rapporto con :</source>
        <translation>Rapporto con :</translation>
    </message>
    <message>
        <source>&amp;Stampa</source>
        <translation>&amp;Stampa</translation>
    </message>
    <message>
        <source>&amp;Esci</source>
        <translation>&amp;Esci</translation>
    </message>
    <message>
        <source>&amp;Registra</source>
        <translation>&amp;Registra</translation>
    </message>
    <message>
        <source>&amp;Aggiorna</source>
        <translation>&amp;Aggiorna</translation>
    </message>
    <message>
        <source>&amp;Conferma</source>
        <translation>&amp;Conferma</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;Ok</translation>
    </message>
    <message>
        <source>Operazione non riuscita:
%1</source>
        <translation>Operazione non riuscita:
%1</translation>
    </message>
    <message>
        <source>Operazione non riuscita: errore sconosciuto.</source>
        <translation>Operazione non riuscita: errore sconosciuto.</translation>
    </message>
    <message>
        <source>Impossibile leggere l&apos;anagrafica degli alberghi &quot;%1&quot; nella cartella di lavoro %2:
%3</source>
        <translation>Impossibile leggere l&apos;anagrafica degli alberghi &quot;%1&quot; nella cartella di lavoro %2:
%3</translation>
    </message>
    <message>
        <source>Nessun albergo in &quot;%1&quot; ha un numero maggiore di 0: non ci sono dati da mostrare.</source>
        <translation>Nessun albergo in &quot;%1&quot; ha un numero maggiore di 0: non ci sono dati da mostrare.</translation>
    </message>
    <message>
        <source>Zentorio %1 (%2-%3)</source>
        <translation>Zentorio %1 (%2-%3)</translation>
    </message>
    <message>
        <source>Zentorio %1   ( %2 - %3 )</source>
        <translation>Zentorio %1   ( %2 - %3 )</translation>
    </message>
</context>
<context>
    <name>Gate</name>
    <message>
        <source>Direzione</source>
        <translation>Direzione</translation>
    </message>
    <message>
        <source>Per ripristinare l&apos;accesso cancellare il file Security.pwd dalla cartella di lavoro e impostare una nuova password con il comando &quot;zentoria passwd&quot;.</source>
        <translation>Per ripristinare l&apos;accesso cancellare il file Security.pwd dalla cartella di lavoro e impostare una nuova password con il comando &quot;zentoria passwd&quot;.</translation>
    </message>
    <message>
        <source>Il file Security.pwd è danneggiato (%1): accesso negato. %2</source>
        <translation>Il file Security.pwd è danneggiato (%1): accesso negato. %2</translation>
    </message>
    <message>
        <source>Resta 1 tentativo.</source>
        <translation>Resta 1 tentativo.</translation>
    </message>
    <message>
        <source>Restano %1 tentativi.</source>
        <translation>Restano %1 tentativi.</translation>
    </message>
    <message>
        <source>la prima riga è vuota</source>
        <translation>la prima riga è vuota</translation>
    </message>
    <message>
        <source>manca la virgola tra la password e il numero di controllo</source>
        <translation>manca la virgola tra la password e il numero di controllo</translation>
    </message>
    <message>
        <source>il numero di controllo non contiene cifre</source>
        <translation>il numero di controllo non contiene cifre</translation>
    </message>
    <message>
        <source>il numero di controllo è troppo grande</source>
        <translation>il numero di controllo è troppo grande</translation>
    </message>
    <message>
        <source>manca la password prima della virgola</source>
        <translation>manca la password prima della virgola</translation>
    </message>
    <message>
        <source>il numero di controllo non corrisponde alla password registrata</source>
        <translation>il numero di controllo non corrisponde alla password registrata</translation>
    </message>
    <message>
        <source>la password registrata non è nel formato previsto</source>
        <translation>la password registrata non è nel formato previsto</translation>
    </message>
    <message>
        <source>il costo di calcolo della password registrata supera il limite</source>
        <translation>il costo di calcolo della password registrata supera il limite</translation>
    </message>
    <message>
        <source> e &quot;</source>
        <translation> e &quot;</translation>
    </message>
    <message>
        <source>Nella cartella di lavoro ci sono più file della password con nomi che differiscono solo per maiuscole e minuscole, %1: nessuno viene letto, accesso negato. Tenerne uno solo (cancellare o spostare gli altri).</source>
        <translation>Nella cartella di lavoro ci sono più file della password con nomi che differiscono solo per maiuscole e minuscole, %1: nessuno viene letto, accesso negato. Tenerne uno solo (cancellare o spostare gli altri).</translation>
    </message>
    <message>
        <source>errore di lettura</source>
        <translation>errore di lettura</translation>
    </message>
    <message>
        <source>la prima riga è troppo lunga</source>
        <translation>la prima riga è troppo lunga</translation>
    </message>
    <message>
        <source>il file è vuoto</source>
        <translation>il file è vuoto</translation>
    </message>
    <message>
        <source>Il file Security.pwd non può essere letto (%1): accesso negato. %2</source>
        <translation>Il file Security.pwd non può essere letto (%1): accesso negato. %2</translation>
    </message>
    <message>
        <source>è un collegamento che non porta a nessun file</source>
        <translation>è un collegamento che non porta a nessun file</translation>
    </message>
    <message>
        <source>Il file Security.pwd non può essere aperto (%1): accesso negato. %2</source>
        <translation>Il file Security.pwd non può essere aperto (%1): accesso negato. %2</translation>
    </message>
    <message>
        <source>non è un file di testo</source>
        <translation>non è un file di testo</translation>
    </message>
    <message>
        <source>il file %1 non può essere aperto (%2)</source>
        <translation>il file %1 non può essere aperto (%2)</translation>
    </message>
    <message>
        <source>il file %1 non è un file normale</source>
        <translation>il file %1 non è un file normale</translation>
    </message>
    <message>
        <source>un altro tentativo è in corso da più di un minuto</source>
        <translation>un altro tentativo è in corso da più di un minuto</translation>
    </message>
    <message>
        <source>contenuto non valido</source>
        <translation>contenuto non valido</translation>
    </message>
    <message>
        <source>Per questo hotel è obbligatoria una password di Direzione, ma nessuna password è impostata: accesso negato. Impostarla con il comando &quot;zentoria passwd&quot;.</source>
        <translation>Per questo hotel è obbligatoria una password di Direzione, ma nessuna password è impostata: accesso negato. Impostarla con il comando &quot;zentoria passwd&quot;.</translation>
    </message>
    <message>
        <source>Nessuna password impostata: premere Invio.</source>
        <translation>Nessuna password impostata: premere Invio.</translation>
    </message>
    <message>
        <source>Accesso negato.</source>
        <translation>Accesso negato.</translation>
    </message>
    <message>
        <source>Il conteggio dei tentativi sul server non può essere aggiornato (%1): accesso negato.</source>
        <translation>Il conteggio dei tentativi sul server non può essere aggiornato (%1): accesso negato.</translation>
    </message>
    <message>
        <source>Il conteggio dei tentativi non può essere letto (%1): accesso negato.</source>
        <translation>Il conteggio dei tentativi non può essere letto (%1): accesso negato.</translation>
    </message>
    <message>
        <source>Password errata.</source>
        <translation>Password errata.</translation>
    </message>
    <message>
        <source>Nessuna password è impostata: premere Invio con il campo vuoto.</source>
        <translation>Nessuna password è impostata: premere Invio con il campo vuoto.</translation>
    </message>
    <message>
        <source>La password di Direzione sul server delle cifre è danneggiata: %1 Sul server: reimpostarla con &quot;zentoria passwd&quot; da chi può scrivere la tabella Direzione.</source>
        <translation>La password di Direzione sul server delle cifre è danneggiata: %1 Sul server: reimpostarla con &quot;zentoria passwd&quot; da chi può scrivere la tabella Direzione.</translation>
    </message>
    <message>
        <source>La password di Direzione sul server delle cifre non può essere letta (%1): accesso negato.</source>
        <translation>La password di Direzione sul server delle cifre non può essere letta (%1): accesso negato.</translation>
    </message>
</context>
<context>
    <name>Months</name>
    <message>
        <source>Gennaio</source>
        <translation>Gennaio</translation>
    </message>
    <message>
        <source>Febbraio</source>
        <translation>Febbraio</translation>
    </message>
    <message>
        <source>Marzo</source>
        <translation>Marzo</translation>
    </message>
    <message>
        <source>Aprile</source>
        <translation>Aprile</translation>
    </message>
    <message>
        <source>Maggio</source>
        <translation>Maggio</translation>
    </message>
    <message>
        <source>Giugno</source>
        <translation>Giugno</translation>
    </message>
    <message>
        <source>Luglio</source>
        <translation>Luglio</translation>
    </message>
    <message>
        <source>Agosto</source>
        <translation>Agosto</translation>
    </message>
    <message>
        <source>Settembre</source>
        <translation>Settembre</translation>
    </message>
    <message>
        <source>Ottobre</source>
        <translation>Ottobre</translation>
    </message>
    <message>
        <source>Novembre</source>
        <translation>Novembre</translation>
    </message>
    <message>
        <source>Dicembre</source>
        <translation>Dicembre</translation>
    </message>
</context>
<context>
    <name>Passwd</name>
    <message>
        <source>Current password: </source>
        <translation>Password attuale: </translation>
    </message>
    <message>
        <source>New password (empty: none): </source>
        <translation>Nuova password (vuota: nessuna): </translation>
    </message>
    <message>
        <source>New password: </source>
        <translation>Nuova password: </translation>
    </message>
    <message>
        <source>New password again: </source>
        <translation>Ripetere la nuova password: </translation>
    </message>
    <message>
        <source>the current password is needed; nothing changed</source>
        <translation>serve la password attuale; non è cambiato nulla. Riprovare scrivendo la password attuale</translation>
    </message>
    <message>
        <source>wrong password; nothing changed</source>
        <translation>password errata; non è cambiato nulla. Riprovare con la password attuale</translation>
    </message>
    <message>
        <source>no new password given; nothing changed</source>
        <translation>nessuna nuova password data; non è cambiato nulla. Per toglierla usare zentoria passwd --clear</translation>
    </message>
    <message>
        <source>the two passwords differ; nothing changed</source>
        <translation>le due password sono diverse; non è cambiato nulla. Riprovare scrivendo due volte la stessa password</translation>
    </message>
    <message>
        <source>No password is set.</source>
        <translation>Nessuna password impostata.</translation>
    </message>
    <message>
        <source>Password cleared: %1 removed.</source>
        <translation>Password tolta: %1 eliminato.</translation>
    </message>
    <message>
        <source>Password set in %1.</source>
        <translation>Password impostata in %1.</translation>
    </message>
    <message>
        <source>Password set on %1.</source>
        <translation>Password impostata sul %1.</translation>
    </message>
    <message>
        <source>Password cleared on %1.</source>
        <translation>Password tolta dal %1.</translation>
    </message>
    <message>
        <source>unknown argument &quot;%1&quot;</source>
        <translation>argomento sconosciuto &quot;%1&quot;</translation>
    </message>
    <message>
        <source>a management password is set: type it on the terminal or give it in %1</source>
        <translation>è impostata una password di Direzione: scriverla sul terminale o darla in %1</translation>
    </message>
    <message>
        <source>a password cannot contain a NUL character</source>
        <translation>una password non può contenere il carattere NUL</translation>
    </message>
    <message>
        <source>the password is %1 bytes long; the hash takes at most %2: choose a shorter one</source>
        <translation>la password è lunga %1 byte; l&apos;hash ne accetta al massimo %2: sceglierne una più corta</translation>
    </message>
    <message>
        <source>cannot make a salt for the password: %1</source>
        <translation>impossibile creare il sale per la password: %1</translation>
    </message>
    <message>
        <source>cannot hash the password with yescrypt</source>
        <translation>impossibile calcolare l&apos;hash yescrypt della password</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>impossibile scrivere %1: %2</translation>
    </message>
    <message>
        <source>cannot remove %1: %2</source>
        <translation>impossibile cancellare %1: %2</translation>
    </message>
</context>
<context>
    <name>PrintMenu</name>
    <message>
        <source>Il codice %1 (%2) di Compresso per TipoStampa %3 in %4 non è un byte (da 0 a 255).</source>
        <translation>Il codice %1 (%2) di Compresso per TipoStampa %3 in %4 non è un byte (da 0 a 255).</translation>
    </message>
    <message>
        <source>Impossibile aprire il dispositivo di stampa %1.</source>
        <translation>Impossibile aprire il dispositivo di stampa %1.</translation>
    </message>
    <message>
        <source>Impossibile scrivere sul dispositivo di stampa %1.</source>
        <translation>Impossibile scrivere sul dispositivo di stampa %1.</translation>
    </message>
    <message>
        <source>Impossibile creare la cartella %1: %2.</source>
        <translation>Impossibile creare la cartella %1: %2.</translation>
    </message>
    <message>
        <source>Impossibile copiare %1 in %2: %3.</source>
        <translation>Impossibile copiare %1 in %2: %3.</translation>
    </message>
</context>
<context>
    <name>PrintOutput</name>
    <message>
        <source>La stampa con Qt richiede un&apos;applicazione grafica (QGuiApplication).</source>
        <translation>La stampa con Qt richiede un&apos;applicazione grafica (QGuiApplication).</translation>
    </message>
    <message>
        <source>la stampante predefinita</source>
        <translation>la stampante predefinita</translation>
    </message>
    <message>
        <source>la stampante %1</source>
        <translation>la stampante %1</translation>
    </message>
    <message>
        <source>il file %1</source>
        <translation>il file %1</translation>
    </message>
    <message>
        <source>Impossibile avviare la stampa su %1.</source>
        <translation>Impossibile avviare la stampa su %1.</translation>
    </message>
    <message>
        <source>La stampa su %1 non è riuscita.</source>
        <translation>La stampa su %1 non è riuscita.</translation>
    </message>
    <message>
        <source>La destinazione &quot;%1&quot; non ha un dispositivo: impostare Linea in Stampanti.mdb o la variabile d&apos;ambiente con il nome della destinazione.</source>
        <translation>La destinazione &quot;%1&quot; non ha un dispositivo: impostare Linea in Stampanti.mdb o la variabile d&apos;ambiente con il nome della destinazione.</translation>
    </message>
    <message>
        <source>Nessuna stampante installata: la destinazione &quot;%1&quot; stampa su &quot;%2&quot;, che non è una stampante installata.</source>
        <translation>Nessuna stampante installata: la destinazione &quot;%1&quot; stampa su &quot;%2&quot;, che non è una stampante installata.</translation>
    </message>
    <message>
        <source>Impossibile creare la cartella %1: %2.</source>
        <translation>Impossibile creare la cartella %1: %2.</translation>
    </message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Folder</source>
        <translation>Cartella</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Unità</translation>
    </message>
    <message>
        <source>%1 File</source>
        <translation>File %1</translation>
    </message>
    <message>
        <source>Alias</source>
        <translation>Alias</translation>
    </message>
    <message>
        <source>Shortcut</source>
        <translation>Collegamento</translation>
    </message>
</context>
<context>
    <name>Recompute</name>
    <message>
        <source>Aggiornamento di &quot;%1&quot; per il %2</source>
        <translation>Aggiornamento di &quot;%1&quot; per il %2</translation>
    </message>
    <message>
        <source>%1 di &quot;%2&quot;</source>
        <translation>%1 di &quot;%2&quot;</translation>
    </message>
    <message>
        <source>Anno non valido: &quot;%1&quot;. Scrivere l&apos;anno con quattro cifre.</source>
        <translation>Anno non valido: &quot;%1&quot;. Scrivere l&apos;anno con quattro cifre.</translation>
    </message>
    <message>
        <source>%1 interrotto a %2 di &quot;%3&quot;: %4</source>
        <translation>%1 interrotto a %2 di &quot;%3&quot;: %4</translation>
    </message>
    <message>
        <source>Nessun mese registrato.</source>
        <translation>Nessun mese registrato.</translation>
    </message>
    <message>
        <source>I dettagli già aggiornati restano registrati, completi (ultimo: %1).</source>
        <translation>I dettagli già aggiornati restano registrati, completi (ultimo: %1).</translation>
    </message>
    <message>
        <source>%1 completato.</source>
        <translation>%1 completato.</translation>
    </message>
    <message>
        <source>%1 interrotto prima di registrare alcun mese.</source>
        <translation>%1 interrotto prima di registrare alcun mese.</translation>
    </message>
    <message>
        <source>%1 interrotto dopo %2 (dettaglio %3 di %4). I dettagli già aggiornati restano registrati, completi.</source>
        <translation>%1 interrotto dopo %2 (dettaglio %3 di %4). I dettagli già aggiornati restano registrati, completi.</translation>
    </message>
    <message>
        <source>Schede escluse dal conteggio: %1 (%2 con partenza precedente all&apos;arrivo, %3 con date non valide).</source>
        <translation>Schede escluse dal conteggio: %1 (%2 con partenza precedente all&apos;arrivo, %3 con date non valide).</translation>
    </message>
</context>
<context>
    <name>Server</name>
    <message>
        <source>PostgreSQL server %1</source>
        <translation>server PostgreSQL %1</translation>
    </message>
    <message>
        <source>%1 is not a connection string or URI libpq reads: %2. Correct it (docs/FIGURES_SERVER.md shows the forms), then try again</source>
        <translation>%1 non è una stringa di connessione né un URI che libpq sappia leggere: %2. Correggerla (le forme sono in docs/FIGURES_SERVER.md), poi riprovare</translation>
    </message>
    <message>
        <source>cannot connect: %1. Check that the server is running and can be reached from this computer, and that %2 names it, then try again</source>
        <translation>impossibile collegarsi: %1. Controllare che il server sia acceso e raggiungibile da questo computer e che %2 lo nomini correttamente, poi riprovare</translation>
    </message>
    <message>
        <source>the figure server</source>
        <translation>server delle cifre</translation>
    </message>
    <message>
        <source>libpq&apos;s message quotes the string, password and all, so it is not shown; check its quotes, its &quot;=&quot; signs and its percent signs</source>
        <translation>il messaggio di libpq riporta la stringa, password compresa, e perciò non è mostrato; controllarne le virgolette, i segni &quot;=&quot; e i segni di percentuale</translation>
    </message>
    <message>
        <source>the table %1 is not on the server: create the figure tables with &quot;zentoria figures init&quot;</source>
        <translation>la tabella %1 non c&apos;è sul server: creare le tabelle delle cifre con &quot;zentoria figures init&quot;</translation>
    </message>
    <message>
        <source>the table %1 on the server lacks the fields %2: add them, or create the figure tables again with &quot;zentoria figures init&quot; on an empty database</source>
        <translation>alla tabella %1 sul server mancano i campi %2: aggiungerli, oppure creare di nuovo le tabelle delle cifre con &quot;zentoria figures init&quot; su un database vuoto</translation>
    </message>
    <message>
        <source>hotel %1</source>
        <translation>albergo %1</translation>
    </message>
    <message>
        <source>the rows without a hotel number</source>
        <translation>le righe senza numero di albergo</translation>
    </message>
    <message>
        <source>NumeroHotel &quot;%1&quot; is not a hotel number; correct it in the file, then copy again</source>
        <translation>NumeroHotel &quot;%1&quot; non è un numero di albergo: correggerlo nel file, poi ripetere la copia</translation>
    </message>
    <message>
        <source>%1: the NumeroHotel of %2 is written in two ways (as a number and as a text); the rows of that hotel copied first are on the server, the others are not</source>
        <translation>%1: il NumeroHotel di %2 è scritto in due modi (come numero e come testo); le righe di quell&apos;albergo copiate per prime sono sul server, le altre no. Scriverlo in un modo solo nel file, poi ripetere la copia</translation>
    </message>
    <message>
        <source>%1, %2 of %3</source>
        <translation>%1, %2 di %3</translation>
    </message>
    <message>
        <source>this is an Access file, which this program only reads; make an SQLite copy with &quot;zentoria convert&quot; and put it in its place before pulling the figures</source>
        <translation>è un file Access, che questo programma sa soltanto leggere: farne una copia SQLite con &quot;zentoria convert&quot; e metterla al suo posto prima di riportare le cifre dal server</translation>
    </message>
    <message>
        <source>%1: the file holds %2 rows instead of %3; nothing was written</source>
        <translation>%1: il file contiene %2 righe invece di %3; non è stato scritto nulla</translation>
    </message>
    <message>
        <source>%1: the file&apos;s sum of Valore is %2 instead of %3; nothing was written</source>
        <translation>%1: la somma di Valore nel file è %2 invece di %3; non è stato scritto nulla</translation>
    </message>
    <message>
        <source>the table %1 of the management password is not on the server: create it with &quot;zentoria figures init&quot;</source>
        <translation>la tabella %1 della password di Direzione non c&apos;è sul server: crearla con &quot;zentoria figures init&quot;</translation>
    </message>
    <message>
        <source>a table %1 is on the server without the fields %2; it is left as it is: add the fields, or remove the table and run &quot;zentoria figures init&quot; again</source>
        <translation>sul server c&apos;è una tabella %1 senza i campi %2, e resta com&apos;è: aggiungere i campi, oppure rimuovere la tabella ed eseguire di nuovo &quot;zentoria figures init&quot;</translation>
    </message>
    <message>
        <source>(the server of %1)</source>
        <translation>(il server di %1)</translation>
    </message>
    <message>
        <source>socket %1</source>
        <translation>socket %1</translation>
    </message>
    <message>
        <source>(a string libpq cannot read, not shown)</source>
        <translation>(una stringa che libpq non sa leggere, non mostrata)</translation>
    </message>
    <message>
        <source>the value %1 of &quot;%2&quot; is beyond the range of the program&apos;s numbers (about ±1.8e308) or not a number; it is not shown as another value</source>
        <translation>il valore %1 di &quot;%2&quot; è fuori dall&apos;intervallo dei numeri del programma (circa ±1,8e308) o non è un numero; non viene mostrato come un altro valore</translation>
    </message>
    <message>
        <source>out of memory while connecting</source>
        <translation>memoria esaurita durante il collegamento</translation>
    </message>
    <message>
        <source>the connection is closed</source>
        <translation>il collegamento è chiuso</translation>
    </message>
    <message>
        <source>the connection to the server was lost (%1); nothing of the unfinished transaction was kept. Check that the server is running, then try again</source>
        <translation>il collegamento con il server si è interrotto (%1); della transazione non finita non è stato tenuto nulla. Controllare che il server sia acceso, poi riprovare</translation>
    </message>
    <message>
        <source>the statement failed</source>
        <translation>l&apos;istruzione non è riuscita</translation>
    </message>
    <message>
        <source>the statement took longer than its limit of %1 and was cancelled; nothing of its transaction was kept (the server may be busy, hold a lock another session keeps, or have stopped answering; the limit is set with &quot;-c zentoria.read_timeout=SECONDS&quot; or &quot;-c zentoria.write_timeout=SECONDS&quot; in the options of the connection string, or figuresReadTimeout and figuresWriteTimeout in the settings file)</source>
        <translation>l&apos;istruzione ha superato il suo limite di %1 ed è stata annullata; della sua transazione non è stato tenuto nulla (il server può essere occupato, aspettare un blocco tenuto da un&apos;altra sessione o non rispondere più; il limite si imposta con &quot;-c zentoria.read_timeout=SECONDI&quot; o &quot;-c zentoria.write_timeout=SECONDI&quot; nelle opzioni della stringa di connessione, oppure con figuresReadTimeout e figuresWriteTimeout nel file delle impostazioni)</translation>
    </message>
    <message>
        <source>the statement was cancelled (&quot;Annulla&quot;) while it waited for the server; nothing of its transaction was kept</source>
        <translation>l&apos;istruzione è stata annullata (&quot;Annulla&quot;) mentre aspettava il server; della sua transazione non è stato tenuto nulla</translation>
    </message>
    <message>
        <source>the statements failed</source>
        <translation>le istruzioni non sono riuscite</translation>
    </message>
    <message>
        <source>cannot copy into %1</source>
        <translation>impossibile copiare in %1</translation>
    </message>
    <message>
        <source>cannot copy into %1: a row has %2 values instead of %3</source>
        <translation>impossibile copiare in %1: una riga ha %2 valori invece di %3</translation>
    </message>
    <message>
        <source>table &quot;%1&quot; not found on the figure server: create the figure tables with &quot;zentoria figures init&quot;</source>
        <translation>la tabella &quot;%1&quot; non c&apos;è sul server delle cifre: creare le tabelle delle cifre con &quot;zentoria figures init&quot;</translation>
    </message>
</context>
<context>
    <name>Store</name>
    <message>
        <source>this is not a plain file (a pipe, a device or a folder): it is not opened as a database</source>
        <translation>non è un file normale (una pipe, un dispositivo o una cartella): non viene aperto come archivio</translation>
    </message>
    <message>
        <source>file not found</source>
        <translation>file non trovato. Controllare che il file sia nella cartella di lavoro (o che la cartella scelta sia quella giusta)</translation>
    </message>
    <message>
        <source>table &quot;%1&quot; not found</source>
        <translation>la tabella &quot;%1&quot; non c&apos;è nel file. Controllare che il file sia quello giusto della cartella di lavoro</translation>
    </message>
    <message>
        <source> and </source>
        <translation> e </translation>
    </message>
    <message>
        <source>the folder holds %1, names that differ only in case, which Windows takes for one file; neither is read. Keep one of them (rename or move the other)</source>
        <translation>la cartella contiene %1, nomi che differiscono solo per maiuscole e minuscole, che Windows considera un solo file; nessuno dei due viene letto. Tenerne uno solo (rinominare o spostare l&apos;altro), poi riprovare</translation>
    </message>
    <message>
        <source>this Access (Jet) file is cut short or damaged: it refers to data beyond its end (%1); copy it again from a backup</source>
        <translation>questo file Access (Jet) è tronco o danneggiato: rimanda a dati oltre la sua fine (%1); copiarlo di nuovo da una copia di sicurezza</translation>
    </message>
    <message>
        <source>reading the file did not end within %1 seconds and was stopped: this Access (Jet) file is probably damaged; copy it again from a backup</source>
        <translation>la lettura del file non è finita entro %1 secondi ed è stata fermata: questo file Access (Jet) è probabilmente danneggiato; copiarlo di nuovo da una copia di sicurezza</translation>
    </message>
    <message>
        <source>this Access (Jet) file is damaged: reading it stopped on a part that cannot be read</source>
        <translation>questo file Access (Jet) è danneggiato: la lettura si è fermata su una parte illeggibile</translation>
    </message>
    <message>
        <source>reading the file needed more memory than allowed (%1 MB): this Access (Jet) file is probably damaged</source>
        <translation>la lettura del file ha richiesto più memoria del consentito (%1 MB): questo file Access (Jet) è probabilmente danneggiato</translation>
    </message>
    <message>
        <source>this is an Access (Jet) file, which this program reads only; it cannot be written</source>
        <translation>questo è un file Access (Jet), che questo programma sa soltanto leggere; non può essere scritto</translation>
    </message>
    <message>
        <source>the file is in use by another program; try again in a moment</source>
        <translation>il file è in uso da parte di un altro programma; riprovare tra un momento</translation>
    </message>
    <message>
        <source>the file cannot be written (it is read-only); ask for write permission on it</source>
        <translation>il file non può essere scritto (è di sola lettura); farsi dare il permesso di scrittura</translation>
    </message>
    <message>
        <source>the file is in use by another program (it changed while being read); try again in a moment</source>
        <translation>il file è in uso da parte di un altro programma (è cambiato durante la lettura); riprovare tra un momento</translation>
    </message>
    <message>
        <source>the sum &quot;VT&quot; is not an amount (%1)</source>
        <translation>la somma &quot;VT&quot; non è un importo (%1)</translation>
    </message>
    <message>
        <source>cannot open the CSV file %1 for writing</source>
        <translation>impossibile aprire in scrittura il file CSV %1</translation>
    </message>
    <message>
        <source>cannot write the CSV file %1</source>
        <translation>impossibile scrivere il file CSV %1</translation>
    </message>
    <message>
        <source>(it is a link, which is not followed)</source>
        <translation>(è un collegamento, che non viene seguito: rimuoverlo)</translation>
    </message>
    <message>
        <source>(it is not a plain file)</source>
        <translation>(non è un file normale: rimuoverlo)</translation>
    </message>
    <message>
        <source>cannot read the report file %1</source>
        <translation>impossibile leggere il file di stampa %1</translation>
    </message>
    <message>
        <source>the report cannot total the value %1</source>
        <translation>la stampa non può sommare il valore %1</translation>
    </message>
    <message>
        <source>cannot open the report file %1 for writing</source>
        <translation>impossibile aprire in scrittura il file di stampa %1</translation>
    </message>
    <message>
        <source>cannot write the report file %1</source>
        <translation>impossibile scrivere il file di stampa %1</translation>
    </message>
    <message>
        <source>this Access (Jet) file is damaged: table &quot;%1&quot;: %2; copy it again from a backup</source>
        <translation>questo file Access (Jet) è danneggiato: tabella &quot;%1&quot;: %2; copiarlo di nuovo da una copia di sicurezza</translation>
    </message>
    <message>
        <source>page %1</source>
        <translation>pagina %1</translation>
    </message>
    <message>
        <source>its map of pages is missing</source>
        <translation>manca la sua mappa delle pagine</translation>
    </message>
    <message>
        <source>its map of pages lies on %1, beyond the end of the file: the file is cut short</source>
        <translation>la sua mappa delle pagine sta sulla %1, oltre la fine del file: il file è tronco</translation>
    </message>
    <message>
        <source>%1, which should hold its map of pages, does not</source>
        <translation>la %1, che dovrebbe contenere la sua mappa delle pagine, non la contiene</translation>
    </message>
    <message>
        <source>its map of pages is of an unknown kind (%1)</source>
        <translation>la sua mappa delle pagine è di un tipo sconosciuto (%1)</translation>
    </message>
    <message>
        <source>its map of pages cannot be read</source>
        <translation>la sua mappa delle pagine è illeggibile</translation>
    </message>
    <message>
        <source>its map of pages runs in a circle</source>
        <translation>la sua mappa delle pagine gira in tondo</translation>
    </message>
    <message>
        <source>its map of pages lists %1, beyond the end of the file (%2 pages): the file is cut short</source>
        <translation>la sua mappa delle pagine elenca la %1, oltre la fine del file (%2 pagine): il file è tronco</translation>
    </message>
    <message>
        <source>%1 cannot be read</source>
        <translation>la %1 è illeggibile</translation>
    </message>
    <message>
        <source>%1 of its map of pages is not one of its data pages</source>
        <translation>la %1 della sua mappa delle pagine non è una delle sue pagine di dati</translation>
    </message>
    <message>
        <source>its definition declares %1 rows, more than its %2 pages can hold</source>
        <translation>la sua definizione dichiara %1 righe, più di quante ne possano contenere le sue %2 pagine</translation>
    </message>
    <message>
        <source>its definition declares %1 fields</source>
        <translation>la sua definizione dichiara %1 campi</translation>
    </message>
    <message>
        <source>its definition declares %1 indexes</source>
        <translation>la sua definizione dichiara %1 indici</translation>
    </message>
    <message>
        <source>the definition of the list of tables cannot be read</source>
        <translation>la definizione dell&apos;elenco delle tabelle è illeggibile</translation>
    </message>
    <message>
        <source>entry %1, field &quot;%2&quot;: %3</source>
        <translation>voce %1, campo &quot;%2&quot;: %3</translation>
    </message>
    <message>
        <source>the list of tables declares %1 entries, %2 could be read</source>
        <translation>l&apos;elenco delle tabelle dichiara %1 voci, se ne sono potute leggere %2</translation>
    </message>
    <message>
        <source>the list of tables cannot be read</source>
        <translation>l&apos;elenco delle tabelle è illeggibile</translation>
    </message>
    <message>
        <source>its definition lies beyond the end of the file: the file is cut short</source>
        <translation>la sua definizione sta oltre la fine del file: il file è tronco</translation>
    </message>
    <message>
        <source>its definition cannot be read</source>
        <translation>la sua definizione è illeggibile</translation>
    </message>
    <message>
        <source>this Access (Jet) file lists no tables: its list of tables is empty or damaged; copy it again from a backup</source>
        <translation>questo file Access (Jet) non elenca nessuna tabella: il suo elenco delle tabelle è vuoto o danneggiato; copiarlo di nuovo da una copia di sicurezza</translation>
    </message>
    <message>
        <source>its long value is cut short</source>
        <translation>il suo valore lungo è tronco</translation>
    </message>
    <message>
        <source>its long value refers to %1, beyond the end of the file: the file is cut short</source>
        <translation>il suo valore lungo rimanda alla %1, oltre la fine del file: il file è tronco</translation>
    </message>
    <message>
        <source>its long value on %1 cannot be found</source>
        <translation>il suo valore lungo sulla %1 non si trova</translation>
    </message>
    <message>
        <source>%1, which should hold its long value, does not</source>
        <translation>la %1, che dovrebbe contenere il suo valore lungo, non lo contiene</translation>
    </message>
    <message>
        <source>its long value is not as long as it says</source>
        <translation>il suo valore lungo non è lungo quanto dichiara</translation>
    </message>
    <message>
        <source>its long value is of an unknown kind</source>
        <translation>il suo valore lungo è di un tipo sconosciuto</translation>
    </message>
    <message>
        <source>its long value&apos;s chain of pages is broken</source>
        <translation>la catena di pagine del suo valore lungo è interrotta</translation>
    </message>
    <message>
        <source>field &quot;%1&quot;: %2: the file is damaged; copy it again from a backup</source>
        <translation>campo &quot;%1&quot;: %2: il file è danneggiato; copiarlo di nuovo da una copia di sicurezza</translation>
    </message>
    <message>
        <source>cannot read the fields of table &quot;%1&quot;</source>
        <translation>impossibile leggere i campi della tabella &quot;%1&quot;</translation>
    </message>
    <message>
        <source>field &quot;%1&quot; holds a value that lies outside its page: the file is damaged</source>
        <translation>il campo &quot;%1&quot; ha un valore che sta fuori dalla sua pagina: il file è danneggiato; copiarlo di nuovo da una copia di sicurezza</translation>
    </message>
    <message>
        <source>field &quot;%1&quot; holds a value shorter than its type: the file is damaged</source>
        <translation>il campo &quot;%1&quot; ha un valore più corto del suo tipo: il file è danneggiato; copiarlo di nuovo da una copia di sicurezza</translation>
    </message>
    <message>
        <source>this is not an Access (Jet) file</source>
        <translation>non è un file Access (Jet)</translation>
    </message>
    <message>
        <source>this Access 2007 or later file (ACE format) cannot be read here; save it from Access in the Access 2000 format (.mdb) and try again</source>
        <translation>questo file di Access 2007 o successivo (formato ACE) non può essere letto qui: salvarlo da Access nel formato Access 2000 (.mdb) e riprovare</translation>
    </message>
    <message>
        <source>cannot read this Access (Jet) file: it is damaged or of an unknown version</source>
        <translation>impossibile leggere questo file Access (Jet): è danneggiato o di una versione sconosciuta; copiarlo di nuovo da una copia di sicurezza</translation>
    </message>
    <message>
        <source>cannot read the file: %1</source>
        <translation>impossibile leggere il file: %1</translation>
    </message>
    <message>
        <source>table &quot;%1&quot;, row %2: %3</source>
        <translation>tabella &quot;%1&quot;, riga %2: %3</translation>
    </message>
    <message>
        <source>its definition declares %1 rows, it holds more</source>
        <translation>la sua definizione dichiara %1 righe, ne contiene di più</translation>
    </message>
    <message>
        <source>its definition declares %1 rows, %2 could be read</source>
        <translation>la sua definizione dichiara %1 righe, se ne sono potute leggere %2</translation>
    </message>
    <message>
        <source>cannot start reading the file: %1</source>
        <translation>impossibile iniziare a leggere il file: %1</translation>
    </message>
    <message>
        <source>cannot read the file: the reader&apos;s answer was garbled</source>
        <translation>impossibile leggere il file: la risposta del processo di lettura era illeggibile; riprovare</translation>
    </message>
    <message>
        <source>cannot open</source>
        <translation>impossibile aprire</translation>
    </message>
    <message>
        <source>cannot move the file to SQLite: &quot;%1&quot; exists already; move it elsewhere first. Nothing was written</source>
        <translation>impossibile trasferire il file in SQLite: &quot;%1&quot; esiste già; spostarlo prima altrove. Non è stato registrato nulla</translation>
    </message>
    <message>
        <source>the file was not moved to SQLite, so nothing was written: it is an Access (Jet) file, which this program reads only</source>
        <translation>il file non è stato trasferito in SQLite, quindi non è stato registrato nulla: è un file Access (Jet), che questo programma sa soltanto leggere</translation>
    </message>
    <message>
        <source>the SQLite copy does not match the original (%1); the file was not moved and nothing was written</source>
        <translation>la copia SQLite non corrisponde all&apos;originale (%1): il file non è stato trasferito e non è stato registrato nulla</translation>
    </message>
    <message>
        <source>cannot rename the original to &quot;%1&quot;: %2; nothing was written</source>
        <translation>impossibile rinominare l&apos;originale in &quot;%1&quot;: %2; non è stato registrato nulla</translation>
    </message>
    <message>
        <source>cannot put the SQLite copy in place: %1; nothing was written</source>
        <translation>impossibile mettere al suo posto la copia SQLite: %1; non è stato registrato nulla</translation>
    </message>
    <message>
        <source>not a database file, or the file is damaged; copy it again from a backup</source>
        <translation>non è un archivio, oppure il file è danneggiato; copiarlo di nuovo da una copia di sicurezza</translation>
    </message>
    <message>
        <source>%1: the file, or the journal &quot;%2-journal&quot; written beside it while it changes, cannot be read or written; check the disk and the permissions of the folder</source>
        <translation>%1: il file, o il giornale &quot;%2-journal&quot; scritto accanto a esso mentre cambia, non può essere letto o scritto; controllare il disco e i permessi della cartella</translation>
    </message>
    <message>
        <source>the query nests brackets, functions or sub-queries too deeply for the database engine (parser stack overflow)</source>
        <translation>la query annida parentesi, funzioni o sottoquery troppo in profondità per il motore del database (parser stack overflow)</translation>
    </message>
    <message>
        <source>cannot open: %1</source>
        <translation>impossibile aprire: %1</translation>
    </message>
    <message>
        <source>field &quot;%1&quot; not found</source>
        <translation>il campo &quot;%1&quot; non c&apos;è. Controllare che il file sia quello giusto della cartella di lavoro</translation>
    </message>
    <message>
        <source>cannot save the record in table &quot;%1&quot;</source>
        <translation>impossibile salvare la riga nella tabella &quot;%1&quot;</translation>
    </message>
    <message>
        <source>cannot copy the tables: %1</source>
        <translation>impossibile copiare le tabelle: %1</translation>
    </message>
    <message>
        <source>cannot copy table &quot;%1&quot;: %2</source>
        <translation>impossibile copiare la tabella &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>cannot read the copy&apos;s summary</source>
        <translation>impossibile leggere il riepilogo della copia</translation>
    </message>
    <message>
        <source>cannot create</source>
        <translation>impossibile creare</translation>
    </message>
    <message>
        <source>cannot finish writing the file</source>
        <translation>impossibile finire di scrivere il file</translation>
    </message>
    <message>
        <source>the file exists already; it is not overwritten: name a new file</source>
        <translation>il file esiste già e non viene sovrascritto: indicare un file nuovo</translation>
    </message>
    <message>
        <source>cannot keep the image of the file in %1: it is not a folder of this user; remove it or set XDG_CACHE_HOME to another folder</source>
        <translation>impossibile tenere l&apos;immagine del file in %1: non è una cartella di questo utente. Rimuoverla, o impostare XDG_CACHE_HOME su un&apos;altra cartella</translation>
    </message>
    <message>
        <source>cannot write its image</source>
        <translation>impossibile scriverne l&apos;immagine</translation>
    </message>
    <message>
        <source>cannot write its image: %1</source>
        <translation>impossibile scriverne l&apos;immagine: %1</translation>
    </message>
    <message>
        <source>cannot finish writing its image</source>
        <translation>impossibile finire di scriverne l&apos;immagine</translation>
    </message>
    <message>
        <source>cannot make the image of the file in %1: %2</source>
        <translation>impossibile creare l&apos;immagine del file in %1: %2</translation>
    </message>
    <message>
        <source>cannot keep the image of the file: %1</source>
        <translation>impossibile tenere l&apos;immagine del file: %1</translation>
    </message>
    <message>
        <source>cannot open the file&apos;s tables</source>
        <translation>impossibile aprire le tabelle del file</translation>
    </message>
    <message>
        <source>cannot open the file&apos;s tables: %1</source>
        <translation>impossibile aprire le tabelle del file: %1</translation>
    </message>
    <message>
        <source>the file&apos;s full path is %1 characters long, and the database engine (SQLite) takes paths of at most %2: move the working folder to a shorter path</source>
        <translation>il percorso completo del file è lungo %1 caratteri, e il motore del database (SQLite) accetta percorsi di al massimo %2: spostare la cartella di lavoro in un percorso più corto</translation>
    </message>
</context>
<context>
    <name>System</name>
    <message>
        <source>No such file or directory</source>
        <translation>file o cartella inesistente</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>permesso negato</translation>
    </message>
    <message>
        <source>Operation not permitted</source>
        <translation>operazione non permessa</translation>
    </message>
    <message>
        <source>Read-only file system</source>
        <translation>file system in sola lettura</translation>
    </message>
    <message>
        <source>No space left on device</source>
        <translation>spazio esaurito sul disco</translation>
    </message>
    <message>
        <source>Disk quota exceeded</source>
        <translation>quota del disco superata</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>è una cartella</translation>
    </message>
    <message>
        <source>Not a directory</source>
        <translation>non è una cartella</translation>
    </message>
    <message>
        <source>Directory not empty</source>
        <translation>la cartella non è vuota</translation>
    </message>
    <message>
        <source>File exists</source>
        <translation>il file esiste già</translation>
    </message>
    <message>
        <source>Too many levels of symbolic links</source>
        <translation>troppi livelli di collegamenti simbolici</translation>
    </message>
    <message>
        <source>File name too long</source>
        <translation>nome del file troppo lungo</translation>
    </message>
    <message>
        <source>File too large</source>
        <translation>file troppo grande</translation>
    </message>
    <message>
        <source>Device or resource busy</source>
        <translation>dispositivo o risorsa occupati</translation>
    </message>
    <message>
        <source>Text file busy</source>
        <translation>file in uso</translation>
    </message>
    <message>
        <source>Input/output error</source>
        <translation>errore di lettura o scrittura sul disco</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>troppi file aperti</translation>
    </message>
    <message>
        <source>Invalid cross-device link</source>
        <translation>collegamento fra dischi diversi non valido</translation>
    </message>
    <message>
        <source>Cannot allocate memory</source>
        <translation>memoria insufficiente</translation>
    </message>
    <message>
        <source>Resource temporarily unavailable</source>
        <translation>risorsa momentaneamente non disponibile</translation>
    </message>
    <message>
        <source>Invalid argument</source>
        <translation>argomento non valido</translation>
    </message>
    <message>
        <source>No such device or address</source>
        <translation>dispositivo o indirizzo inesistente</translation>
    </message>
    <message>
        <source>Stale file handle</source>
        <translation>riferimento al file non più valido</translation>
    </message>
    <message>
        <source>Connection refused</source>
        <translation>connessione rifiutata</translation>
    </message>
    <message>
        <source>Connection timed out</source>
        <translation>tempo di connessione scaduto</translation>
    </message>
    <message>
        <source>No route to host</source>
        <translation>nessun percorso verso il server</translation>
    </message>
</context>
<context>
    <name>Web</name>
    <message>
        <source>%1 - Zentoria</source>
        <translation>%1 - Zentoria</translation>
    </message>
    <message>
        <source>Griglia</source>
        <translation>Griglia</translation>
    </message>
    <message>
        <source>Catena</source>
        <translation>Catena</translation>
    </message>
    <message>
        <source>Esci</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>Mese</source>
        <translation>Mese</translation>
    </message>
    <message>
        <source>Serie %1</source>
        <translation>Serie %1</translation>
    </message>
    <message>
        <source>Albergo</source>
        <translation>Albergo</translation>
    </message>
    <message>
        <source>Statistica</source>
        <translation>Statistica</translation>
    </message>
    <message>
        <source>Anno</source>
        <translation>Anno</translation>
    </message>
    <message>
        <source>Mostra</source>
        <translation>Mostra</translation>
    </message>
    <message>
        <source>Dettaglio</source>
        <translation>Dettaglio</translation>
    </message>
    <message>
        <source>Valore</source>
        <translation>Valore</translation>
    </message>
    <message>
        <source>Grafico</source>
        <translation>Grafico</translation>
    </message>
    <message>
        <source>Disegna</source>
        <translation>Disegna</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>CSV</source>
        <translation>CSV</translation>
    </message>
    <message>
        <source>JSON</source>
        <translation>JSON</translation>
    </message>
    <message>
        <source>Differenza con</source>
        <translation>Differenza con</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Rapporto con</source>
        <translation>Rapporto con</translation>
    </message>
    <message>
        <source>Conferma</source>
        <translation>Conferma</translation>
    </message>
    <message>
        <source>Griglia mensile</source>
        <translation>Griglia mensile</translation>
    </message>
    <message>
        <source>Password di direzione</source>
        <translation>Password di direzione</translation>
    </message>
    <message>
        <source>Entra</source>
        <translation>Entra</translation>
    </message>
    <message>
        <source>Accesso</source>
        <translation>Accesso</translation>
    </message>
    <message>
        <source>Parametro sconosciuto: &quot;%1&quot;.</source>
        <translation>Parametro sconosciuto: &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Parametro ripetuto: &quot;%1&quot;.</source>
        <translation>Parametro ripetuto: &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Manca il parametro &quot;%1&quot;.</source>
        <translation>Manca il parametro &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Anno non valido in &quot;%1&quot;: scrivere quattro cifre.</source>
        <translation>Anno non valido in &quot;%1&quot;: scrivere quattro cifre.</translation>
    </message>
    <message>
        <source>Valore non valido per &quot;%1&quot;: un numero da %2 a %3.</source>
        <translation>Valore non valido per &quot;%1&quot;: un numero da %2 a %3.</translation>
    </message>
    <message>
        <source>Dettaglio non disponibile per &quot;%1&quot;: &quot;%2&quot;.</source>
        <translation>Dettaglio non disponibile per &quot;%1&quot;: &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>Un altro accesso da questo indirizzo è in corso: riprovare tra un momento.</source>
        <translation>Un altro accesso da questo indirizzo è in corso: riprovare tra un momento.</translation>
    </message>
    <message>
        <source>Troppe password errate da questo indirizzo: riprovare tra %1 secondo.</source>
        <translation>Troppe password errate da questo indirizzo: riprovare tra %1 secondo.</translation>
    </message>
    <message>
        <source>Troppe password errate da questo indirizzo: riprovare tra %1 secondi.</source>
        <translation>Troppe password errate da questo indirizzo: riprovare tra %1 secondi.</translation>
    </message>
    <message>
        <source>Troppi accessi in corso: riprovare tra un momento.</source>
        <translation>Troppi accessi in corso: riprovare tra un momento.</translation>
    </message>
    <message>
        <source>Password errata: accesso negato.</source>
        <translation>Password errata: accesso negato.</translation>
    </message>
    <message>
        <source>Uscita eseguita.</source>
        <translation>Uscita eseguita.</translation>
    </message>
    <message>
        <source>Accesso negato: eseguire l&apos;accesso con la password.</source>
        <translation>Accesso negato: eseguire l&apos;accesso con la password.</translation>
    </message>
    <message>
        <source>Richiesta non valida</source>
        <translation>Richiesta non valida</translation>
    </message>
    <message>
        <source>Dati non disponibili: %1</source>
        <translation>Dati non disponibili: %1</translation>
    </message>
    <message>
        <source>Dati non disponibili</source>
        <translation>Dati non disponibili</translation>
    </message>
    <message>
        <source>avvio non riuscito</source>
        <translation>avvio non riuscito</translation>
    </message>
    <message>
        <source>Nessun albergo con il numero %1.</source>
        <translation>Nessun albergo con il numero %1.</translation>
    </message>
    <message>
        <source>Statistica non disponibile: &quot;%1&quot;.</source>
        <translation>Statistica non disponibile: &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Formato non valido: &quot;%1&quot; (%2, %3 o %4).</source>
        <translation>Formato non valido: &quot;%1&quot; (%2, %3 o %4).</translation>
    </message>
    <message>
        <source>Statistica di confronto non disponibile: &quot;%1&quot;.</source>
        <translation>Statistica di confronto non disponibile: &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Dettaglio di confronto non disponibile: &quot;%1&quot;.</source>
        <translation>Dettaglio di confronto non disponibile: &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Valore non valido per &quot;%1&quot;: &quot;%2&quot; o &quot;%3&quot;.</source>
        <translation>Valore non valido per &quot;%1&quot;: &quot;%2&quot; o &quot;%3&quot;.</translation>
    </message>
    <message>
        <source>impossibile leggere %1</source>
        <translation>impossibile leggere %1</translation>
    </message>
    <message>
        <source>Parametri non previsti.</source>
        <translation>Parametri non previsti.</translation>
    </message>
    <message>
        <source>Pagina non trovata.</source>
        <translation>Pagina non trovata.</translation>
    </message>
    <message>
        <source>Richiesta troppo grande.</source>
        <translation>Richiesta troppo grande.</translation>
    </message>
    <message>
        <source>Indirizzo troppo lungo.</source>
        <translation>Indirizzo troppo lungo.</translation>
    </message>
    <message>
        <source>Metodo non ammesso.</source>
        <translation>Metodo non ammesso.</translation>
    </message>
    <message>
        <source>Richiesta non valida.</source>
        <translation>Richiesta non valida.</translation>
    </message>
    <message>
        <source>Errore</source>
        <translation>Errore</translation>
    </message>
    <message>
        <source>La richiesta non può essere soddisfatta.</source>
        <translation>La richiesta non può essere soddisfatta.</translation>
    </message>
    <message>
        <source>--tls-cert e --tls-key vanno indicati insieme.</source>
        <translation>--tls-cert e --tls-key vanno indicati insieme.</translation>
    </message>
    <message>
        <source>rifiuto di ascoltare su %1: nessuna password di direzione è impostata. Impostarla con &quot;zentoria passwd&quot; oppure ascoltare su 127.0.0.1.</source>
        <translation>rifiuto di ascoltare su %1: nessuna password di direzione è impostata. Impostarla con &quot;zentoria passwd&quot; oppure ascoltare su 127.0.0.1.</translation>
    </message>
    <message>
        <source>attenzione: %1 è raggiungibile dalla rete senza TLS: password e dati viaggiano in chiaro (usare --tls-cert e --tls-key, o un proxy inverso con TLS).</source>
        <translation>attenzione: %1 è raggiungibile dalla rete senza TLS: password e dati viaggiano in chiaro (usare --tls-cert e --tls-key, o un proxy inverso con TLS).</translation>
    </message>
    <message>
        <source>certificato o chiave TLS non leggibili: %1, %2</source>
        <translation>certificato o chiave TLS non leggibili: %1, %2</translation>
    </message>
    <message>
        <source>impossibile ascoltare su %1:%2</source>
        <translation>impossibile ascoltare su %1:%2</translation>
    </message>
    <message>
        <source>In ascolto su %1</source>
        <translation>In ascolto su %1</translation>
    </message>
</context>
<context>
    <name>zt::desktop::ChartView</name>
    <message>
        <source>%1 (a sinistra)</source>
        <translation>%1 (a sinistra)</translation>
    </message>
    <message>
        <source>%1 (a destra)</source>
        <translation>%1 (a destra)</translation>
    </message>
    <message>
        <source> (scala lineare: valori non positivi)</source>
        <translation> (scala lineare: valori non positivi)</translation>
    </message>
    <message>
        <source>Serie %1</source>
        <translation>Serie %1</translation>
    </message>
</context>
<context>
    <name>zt::desktop::MsgBox_Form</name>
    <message>
        <source>Zentoria</source>
        <translation>Zentoria</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Si</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>zt::desktop::PasswdSecurity</name>
    <message>
        <source>Troppe password errate di seguito: attendere %1 secondi…</source>
        <translation>Troppe password errate di seguito: attendere %1 secondi…</translation>
    </message>
</context>
<context>
    <name>zt::desktop::ZentDeskTop</name>
    <message>
        <source>In attesa del server delle cifre…</source>
        <translation>In attesa del server delle cifre…</translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Zentoria</source>
        <translation>Zentoria</translation>
    </message>
</context>
<context>
    <name>zt::report::Anteprima</name>
    <message>
        <source>Anteprima di Stampa</source>
        <translation>Anteprima di Stampa</translation>
    </message>
    <message>
        <source>Sa&amp;lva</source>
        <translation>Sa&amp;lva</translation>
    </message>
    <message>
        <source>E-&amp;mail</source>
        <translation>E-&amp;mail</translation>
    </message>
    <message>
        <source>&amp;Inizio</source>
        <translation>&amp;Inizio</translation>
    </message>
    <message>
        <source>&amp;Avanti</source>
        <translation>&amp;Avanti</translation>
    </message>
    <message>
        <source>E&amp;spandi</source>
        <translation>E&amp;spandi</translation>
    </message>
    <message>
        <source>&amp;Riduci</source>
        <translation>&amp;Riduci</translation>
    </message>
    <message>
        <source>&amp;Esci</source>
        <translation>&amp;Esci</translation>
    </message>
    <message>
        <source>Nessuna pagina</source>
        <translation>Nessuna pagina</translation>
    </message>
    <message>
        <source>Pagina %1 di %2</source>
        <translation>Pagina %1 di %2</translation>
    </message>
    <message>
        <source>Salva la stampa</source>
        <translation>Salva la stampa</translation>
    </message>
    <message>
        <source>Salva</source>
        <translation>Salva</translation>
    </message>
    <message>
        <source>Impossibile salvare la stampa in %1:
%2
Scegliere una cartella che esiste e in cui si può scrivere, poi premere di nuovo &quot;Salva&quot;.</source>
        <translation>Impossibile salvare la stampa in %1:
%2
Scegliere una cartella che esiste e in cui si può scrivere, poi premere di nuovo &quot;Salva&quot;.</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>Il programma di posta &quot;%1&quot; non si trova nelle cartelle del PATH.
Per spedire la stampa, allegare a un messaggio di posta il file
%2
oppure il PDF o il file per Excel che il menu di stampa prepara.</source>
        <translation>Il programma di posta &quot;%1&quot; non si trova nelle cartelle del PATH.
Per spedire la stampa, allegare a un messaggio di posta il file
%2
oppure il PDF o il file per Excel che il menu di stampa prepara.</translation>
    </message>
    <message>
        <source>Impossibile avviare il programma di posta %1.
Controllare che sia installato e che si possa eseguire, oppure allegare a un messaggio di posta il file
%2</source>
        <translation>Impossibile avviare il programma di posta %1.
Controllare che sia installato e che si possa eseguire, oppure allegare a un messaggio di posta il file
%2</translation>
    </message>
</context>
<context>
    <name>zt::report::MenuStampa</name>
    <message>
        <source>Stampa</source>
        <translation>Stampa</translation>
    </message>
    <message>
        <source>Stampe non modificabili</source>
        <translation>Stampe non modificabili</translation>
    </message>
    <message>
        <source>Stampa Compressa</source>
        <translation>Stampa Compressa</translation>
    </message>
    <message>
        <source>Stampa orizzontale</source>
        <translation>Stampa orizzontale</translation>
    </message>
    <message>
        <source>Stampa fronte / retro</source>
        <translation>Stampa fronte / retro</translation>
    </message>
    <message>
        <source>Stampante </source>
        <translation>Stampante </translation>
    </message>
    <message>
        <source>Virtuale </source>
        <translation>Virtuale </translation>
    </message>
    <message>
        <source>&lt;nessuna stampante&gt;</source>
        <translation>&lt;nessuna stampante&gt;</translation>
    </message>
    <message>
        <source>La copia d&apos;archivio della stampa non è stata fatta:
%1</source>
        <translation>La copia d&apos;archivio della stampa non è stata fatta:
%1</translation>
    </message>
    <message>
        <source>Impossibile leggere le destinazioni di stampa:
%1</source>
        <translation>Impossibile leggere le destinazioni di stampa:
%1</translation>
    </message>
    <message>
        <source>Impossibile aprire %1 con il programma associato.</source>
        <translation>Impossibile aprire %1 con il programma associato.</translation>
    </message>
    <message>
        <source>La copia d&apos;archivio %1 non esiste:
%2</source>
        <translation>La copia d&apos;archivio %1 non esiste:
%2</translation>
    </message>
    <message>
        <source>La copia d&apos;archivio %1 non esiste.</source>
        <translation>La copia d&apos;archivio %1 non esiste.</translation>
    </message>
    <message>
        <source>Nessuna stampante PDF impostata!</source>
        <translation>Nessuna stampante PDF impostata!</translation>
    </message>
    <message>
        <source>Operazione non riuscita:
%1</source>
        <translation>Operazione non riuscita:
%1</translation>
    </message>
    <message>
        <source>A&amp;rchivio</source>
        <translation>A&amp;rchivio</translation>
    </message>
    <message>
        <source>E&amp;xcel</source>
        <translation>E&amp;xcel</translation>
    </message>
    <message>
        <source>P&amp;DF</source>
        <translation>P&amp;DF</translation>
    </message>
    <message>
        <source>S&amp;tampa</source>
        <translation>S&amp;tampa</translation>
    </message>
    <message>
        <source>&amp;Anteprima</source>
        <translation>&amp;Anteprima</translation>
    </message>
    <message>
        <source>&amp;Esci</source>
        <translation>&amp;Esci</translation>
    </message>
</context>
</TS>
