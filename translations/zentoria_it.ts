<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="en">
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
</context>
</TS>
