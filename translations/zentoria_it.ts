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
        <source>impossibile creare un file temporaneo in %1</source>
        <translation>impossibile creare un file temporaneo in %1</translation>
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
