// Italian texts of the installer and the uninstaller.
#include "kelvara-build/languages/builtin_languages.h"

namespace kelvara::build {
namespace {

constexpr int kSetup = kTableSetupMessages;
constexpr int kError = kTableErrorMessages;
constexpr int kButton = kTableButtonLabels;
constexpr int kUn = kTableUninstaller;

constexpr BuiltinText kTexts[] = {
    {kPageLanguage, 0, "Installazione di %ProductName%"},
    {kPageLanguage, 1, "Selezione della lingua di installazione"},
    {kPageLanguage, 2, "Scegliere la lingua da utilizzare durante l'installazione."},
    {kPageLanguage, 3, "&Lingua:"},

    {kPageWelcome, 0, "Installazione di %ProductName%"},
    {kPageWelcome, 1, "Benvenuti nell'installazione di %ProductName%"},
    {kPageWelcome, 2, "Questa procedura guidata installerà %ProductName% nel computer."},
    {kPageWelcome, 3, "La procedura consiste in pochi, brevi passaggi."},
    {kPageWelcome, 4, "Si consiglia di chiudere tutti gli altri programmi prima di continuare."},
    {kPageWelcome, 6,
     "Fare clic su Avanti per continuare o su Annulla per uscire dall'installazione."},
    {kPageWelcome, 7, "Benvenuti nell'installazione"},

    {kPageLicense, 0, "Installazione di %ProductName%"},
    {kPageLicense, 1, "Contratto di licenza"},
    {kPageLicense, 2, "Leggere il seguente &contratto di licenza."},
    {kPageLicense, 3, "Si accettano i termini di questo contratto di licenza?"},

    {kPageReadme, 0, "Installazione di %ProductName%"},
    {kPageReadme, 1, "Informazioni importanti"},
    {kPageReadme, 2, "Leggere le seguenti in&formazioni importanti."},

    {kPageComponents, 0, "Installazione di %ProductName%"},
    {kPageComponents, 1, "Selezione dei componenti"},
    {kPageComponents, 2, "Scegliere quali parti di %ProductName% installare."},
    {kPageComponents, 3, "&Tipo di installazione:"},
    {kPageComponents, 4, "&Componenti:"},
    {kPageComponents, 5, "Spazio richiesto:"},
    {kPageComponents, 6, "Spazio disponibile nell'unità %DISK%:"},
    {kPageComponents, 9, "Selezionare un componente per visualizzarne la descrizione."},
    {kPageComponents, 14, "Descrizione"},

    {kPageScope, 0, "Installazione di %ProductName%"},
    {kPageScope, 1, "Selezione degli utenti"},
    {kPageScope, 2, "Scegliere per chi installare %ProductName%."},
    {kPageScope, 3, "Installa per &tutti gli utenti del computer"},
    {kPageScope, 4,
     "Tutti gli utenti di questo computer potranno usare il programma. Per questa operazione "
     "sono necessari i diritti di amministratore."},
    {kPageScope, 5, "Installa solo per &me"},
    {kPageScope, 6,
     "Solo l'utente corrente potrà usare il programma. Verrà installato nelle sue cartelle "
     "personali e non saranno necessari i diritti di amministratore."},

    {kPageDestination, 0, "Installazione di %ProductName%"},
    {kPageDestination, 1, "Selezione della cartella di installazione"},
    {kPageDestination, 2,
     "%ProductName% verrà installato nella seguente cartella. Per usare una cartella diversa, "
     "digitarne il percorso o fare clic su Sfoglia."},
    {kPageDestination, 3, "&Cartella di destinazione"},
    {kPageDestination, 4, "Selezionare la cartella in cui installare il programma:"},
    {kPageDestination, 5, "Spazio richiesto:"},
    {kPageDestination, 6, "Spazio disponibile nell'unità %DISK%:"},

    {kPageTasks, 0, "Installazione di %ProductName%"},
    {kPageTasks, 1, "Operazioni aggiuntive"},
    {kPageTasks, 2, "Scegliere le altre operazioni da eseguire, quindi fare clic su Avanti."},
    {kPageTasks, 3, "&Operazioni aggiuntive:"},
    {kPageTasks, 9, "Selezionare un'operazione per visualizzarne la descrizione."},

    {kPageStartMenu, 0, "Installazione di %ProductName%"},
    {kPageStartMenu, 1, "Selezione della cartella del menu Start"},
    {kPageStartMenu, 2,
     "I &collegamenti verranno creati in questa cartella del menu Start. Digitare un nome o "
     "sceglierne una esistente."},
    {kPageStartMenu, 3, "Crea una cartella nel &menu Start"},
    {kPageStartMenu, 4, "Crea collegamenti sul &desktop"},
    {kPageStartMenu, 5, "Crea collegamenti sulla barra Avvio &veloce"},

    {kPageReady, 0, "Installazione di %ProductName%"},
    {kPageReady, 1, "Pronto per l'installazione"},
    {kPageReady, 2,
     "Il programma di installazione è pronto per installare %ProductName% nel computer."},
    {kPageReady, 3,
     "Fare clic su Installa per iniziare o su Indietro per rivedere o modificare le "
     "impostazioni."},

    {kPageInstalling, 0, "Installazione di %ProductName%"},
    {kPageInstalling, 1, "Installazione di %ProductName% in corso"},
    {kPageInstalling, 2, "Attendere il completamento dell'installazione di %ProductName%."},
    {kPageInstalling, 3, "Per interrompere l'installazione, fare clic su Annulla."},
    {kPageInstalling, 4, "Copia dei file..."},
    {kPageInstalling, 5, "Creazione dei collegamenti..."},
    {kPageInstalling, 6, "Aggiornamento del registro di sistema..."},
    {kPageInstalling, 7, "Aggiornamento dei file di impostazioni..."},
    {kPageInstalling, 8, "Registrazione dei tipi di file..."},
    {kPageInstalling, 13, "Completamento dell'installazione..."},

    {kPageFinish, 0, "Installazione di %ProductName%"},
    {kPageFinish, 1, "Installazione completata"},
    {kPageFinish, 2, "L'installazione di %ProductName% è stata completata."},
    {kPageFinish, 3,
     "Ora è possibile usare %ProductName%. Fare clic su Fine per chiudere l'installazione."},
    {kPageFinish, 4, "Apri la &documentazione"},
    {kPageFinish, 5, "A&vvia %ProductName% ora"},
    {kPageFinish, 6, "&Riavvia il computer ora"},
    {kPageFinish, 7,
     "Non è stato possibile installare alcune parti. I messaggi visualizzati durante "
     "l'installazione descrivono i problemi."},
    {kPageFinish, 8,
     "È necessario riavviare Windows per completare l'installazione. Riavviare ora oppure "
     "deselezionare la casella sottostante per riavviare più tardi."},
    {kPageFinish, 9,
     "Alcuni file erano in uso. Il programma di installazione li sostituirà al riavvio del "
     "computer."},
    {kPageFinish, 10, "È necessario riavviare il computer per completare l'installazione."},

    {kUn, 0, "Disinstallazione di %s"},
    {kUn, 1, "Rimozione dell'applicazione"},
    {kUn, 2, "Attendere la rimozione di %s dal computer."},
    {kUn, 3, "Si è sicuri di voler rimuovere completamente %s?"},
    {kUn, 4, "Disinstallazione completata"},
    {kUn, 5, "La rimozione di %s dal computer è stata completata correttamente."},
    {kUn, 6,
     "La rimozione di %s dal computer è stata completata, ma non è stato possibile rimuovere "
     "alcune delle sue voci."},
    {kUn, 7,
     "La disinstallazione non è stata completata.\nSe si esce ora, il programma non verrà "
     "disinstallato correttamente.\n\nSi è sicuri di voler uscire?"},
    {kUn, 8, "Fine"},
    {kUn, 10, "Annulla"},
    {kUn, 11,
     "Alcune cartelle contengono file che non sono stati creati da questa installazione e che "
     "non possono essere eliminati automaticamente. Selezionare la casella accanto a ogni file o "
     "cartella da eliminare, quindi fare clic sul pulsante 'Elimina'."},
    {kUn, 12, "Seleziona &tutto"},
    {kUn, 13, "&Elimina"},
    {kUn, 14, "Si è sicuri di voler eliminare tutti i file e le cartelle selezionati?"},
    {kUn, 15, "Conferma operazione"},
    {kUn, 16, "Eliminazione dei file..."},
    {kUn, 17, "Eliminazione dei collegamenti del menu Start..."},
    {kUn, 18, "Eliminazione delle voci del registro di sistema..."},
    {kUn, 19, "Avvio dei programmi..."},
    {kUn, 20, "Eliminazione delle chiavi del registro di sistema..."},
    {kUn, 21, "Chiamata delle funzioni DLL..."},
    {kUn, 22, "Eliminazione dei file condivisi..."},
    {kUn, 23, "Eliminazione di un valore del registro"},
    {kUn, 24, "Errore durante l'eliminazione del valore del registro '%s' nella chiave '%s'.\n%s"},
    {kUn, 25, "Eliminazione di una chiave del registro"},
    {kUn, 26, "Errore durante l'eliminazione della chiave del registro '%s'.\n%s"},
    {kUn, 27, "Passaggio della disinstallazione"},
    {kUn, 28,
     "Questo passaggio della disinstallazione non è riuscito:\n%s\n\n"
     "La disinstallazione prosegue."},
    {kUn, 29, "Eliminazione di un file"},
    {kUn, 30,
     "Il file %s\nè attualmente in uso da parte di un'altra applicazione.\n"
     "Riprovare a eliminare il file, invece di riavviare il computer al termine della "
     "disinstallazione?"},
    {kUn, 31, "Rilevato file condiviso"},
    {kUn, 32,
     "Secondo il sistema, il seguente file condiviso non è più utilizzato da alcun programma. Se "
     "alcuni programmi usano ancora il file e questo viene rimosso, potrebbero non funzionare "
     "più. Si è sicuri di voler rimuovere il file condiviso?\n\nNome file: "},
    {kUn, 33, "\nPercorso: "},
    {kUn, 34,
     "\n\nMantenere questo file non danneggia il sistema. In caso di dubbio, si consiglia di non "
     "rimuovere questo componente condiviso."},
    {kUn, 35,
     "Si è scelto di rimuovere tutti i componenti condivisi che secondo il sistema non sono più "
     "utilizzati. Alcuni programmi potrebbero smettere di funzionare se richiedono ancora uno di "
     "questi file. Si è sicuri di voler procedere?"},
    {kUn, 36,
     "Questi programmi usano file che devono essere rimossi:\n\n%s\n\nChiuderli ora?\n"
     "Se si fa clic su No, i programmi resteranno in esecuzione e i loro file verranno rimossi "
     "al riavvio del computer."},
    {kUn, 37, "&Sì"},
    {kUn, 38, "Sì a &tutti"},
    {kUn, 39, "&No"},
    {kUn, 40,
     "Per completare la disinstallazione è necessario riavviare il computer.\n"
     "Alcuni file sono in uso e possono essere eliminati solo al riavvio del sistema.\n\n"
     "Riavviare il sistema ora?"},
    {kUn, 41,
     "Impossibile riavviare il computer.\n\n"
     "Riavviarlo manualmente per completare la disinstallazione."},

    {kPageFilesInUse, 0, "Installazione di %ProductName%"},
    {kPageFilesInUse, 1, "Programmi in uso"},
    {kPageFilesInUse, 2, "Alcuni programmi in esecuzione usano file che devono essere sostituiti."},
    {kPageFilesInUse, 3,
     "Il programma di installazione può chiudere questi programmi ora e riavviarli al termine "
     "dell'installazione:"},
    {kPageFilesInUse, 4, "&Chiudi automaticamente i programmi e riavviali"},
    {kPageFilesInUse, 5, "&Non chiuderli (sarà necessario riavviare il computer)"},

    {kSetup, 0,
     "L'installazione non è stata completata. Se si esce ora, il programma non verrà "
     "installato.\n\nUscire dall'installazione?"},
    {kSetup, 1,
     "È necessario riavviare il computer per completare la configurazione.\n\n"
     "Riavviare ora?"},
    {kSetup, 2,
     "La cartella di installazione non è valida.\n\n"
     "Immettere il percorso completo di una cartella, inclusa l'unità."},
    {kSetup, 3,
     "La cartella di destinazione non è valida.\n\n"
     "Immettere il percorso completo di una cartella, inclusa l'unità."},
    {kSetup, 4, "Interrompere l'estrazione dei file?"},
    {kSetup, 5,
     "Alcuni file che il programma di installazione doveva sostituire erano in uso. Verranno "
     "sostituiti al riavvio del computer.\n\nRiavviare ora?"},
    {kSetup, 6,
     "Il seguente file è in uso da parte di un altro programma:\n%s\n\n"
     "Riprovare? Chiudere prima il programma, quindi fare clic su Sì.\n"
     "Se si fa clic su No, il file verrà sostituito al riavvio del computer."},
    {kSetup, 7,
     "Il seguente file è in uso da parte di un altro programma e non può essere sostituito:\n%s"},
    {kSetup, 8,
     "L'installazione del programma è ancora in corso.\n"
     "Se si esce prima del termine, tutto ciò che è stato installato finora verrà rimosso.\n\n"
     "Uscire dall'installazione?"},
    {kSetup, 9,
     "L'installazione è terminata, ma non è stato possibile installare alcune parti del "
     "programma.\nI messaggi visualizzati durante l'installazione descrivono i problemi."},
    {kSetup, 10, "Riavviare il computer prima di usare %s."},
    {kSetup, 11,
     "Per installare questo programma sono necessari i diritti di amministratore.\n\n"
     "Accedere come amministratore ed eseguire di nuovo l'installazione."},
    {kSetup, 12,
     "Questo programma richiede Windows NT, Windows 2000, Windows XP o una versione successiva "
     "di Windows."},
    {kSetup, 13,
     "Questo programma richiede %s o una versione successiva.\n\n"
     "Impossibile continuare l'installazione."},
    {kSetup, 14, "Questo programma richiede una versione di Windows a 64 bit."},
    {kSetup, 15, "Questo programma richiede una versione di Windows per ARM64."},
    {kSetup, 16,
     "Questi programmi usano file che il programma di installazione deve sostituire:\n\n%s\n\n"
     "Consentire al programma di installazione di chiuderli e riavviarli al termine?\n"
     "Se si fa clic su No, i programmi resteranno in esecuzione e sarà necessario riavviare il "
     "computer per completare l'installazione."},
    {kSetup, 17,
     "Nel computer è già installata una versione più recente di %s (versione %s).\n\n"
     "Il programma di installazione non può installare su di essa la versione precedente %s. "
     "Per usare questa versione, disinstallare prima quella più recente."},

    {kError, 0,
     "Impossibile creare la finestra necessaria per l'installazione.\n\n"
     "Il programma di installazione verrà chiuso."},
    {kError, 1,
     "Accesso negato durante la lettura di questo file:\n%s\n\n"
     "Ignorare questo file e continuare?\nSe si fa clic su No, l'installazione verrà interrotta "
     "e quanto installato finora verrà rimosso."},
    {kError, 2,
     "Non si dispone dell'autorizzazione per modificare questo file:\n%s\n\n"
     "Ignorare questo file e continuare?\nSe si fa clic su No, l'installazione verrà interrotta "
     "e quanto installato finora verrà rimosso."},
    {kError, 3,
     "Accesso negato durante l'apertura di questo file:\n%s\n\n"
     "Ignorare questo file e continuare?\nSe si fa clic su No, l'installazione verrà interrotta "
     "e quanto installato finora verrà rimosso."},
    {kError, 4,
     "Impossibile aprire questo file in lettura:\n%s\n\n%s\n\n"
     "Ignorare questo file e continuare?\nSe si fa clic su No, l'installazione verrà interrotta "
     "e quanto installato finora verrà rimosso."},
    {kError, 5,
     "Impossibile aprire questo file per sostituirlo:\n%s\n\n%s\n\n"
     "Ignorare questo file e continuare?\nSe si fa clic su No, l'installazione verrà interrotta "
     "e quanto installato finora verrà rimosso."},
    {kError, 6,
     "Impossibile aprire questo file:\n%s\n\n%s\n\n"
     "Ignorare questo file e continuare?\nSe si fa clic su No, l'installazione verrà interrotta "
     "e quanto installato finora verrà rimosso."},
    {kError, 7,
     "Accesso negato durante la creazione di questo file:\n%s\n\n"
     "Ignorare questo file e continuare?\nSe si fa clic su No, l'installazione verrà interrotta "
     "e quanto installato finora verrà rimosso."},
    {kError, 8,
     "Impossibile creare il file\n%s\n"
     "perché non si dispone dell'autorizzazione per aggiungere file alla cartella\n%s\n\n"
     "Ignorare questo file e continuare?\nSe si fa clic su No, l'installazione verrà interrotta "
     "e quanto installato finora verrà rimosso."},
    {kError, 9,
     "Accesso negato durante la creazione e l'apertura di questo file:\n%s\n\n"
     "Ignorare questo file e continuare?\nSe si fa clic su No, l'installazione verrà interrotta "
     "e quanto installato finora verrà rimosso."},
    {kError, 10,
     "Impossibile creare questo file per la lettura:\n%s\n\n%s\n\n"
     "Ignorare questo file e continuare?\nSe si fa clic su No, l'installazione verrà interrotta "
     "e quanto installato finora verrà rimosso."},
    {kError, 11,
     "Impossibile creare questo file:\n%s\n\n%s\n\n"
     "Ignorare questo file e continuare?\nSe si fa clic su No, l'installazione verrà interrotta "
     "e quanto installato finora verrà rimosso."},
    {kError, 12,
     "Impossibile creare e aprire questo file:\n%s\n\n%s\n\n"
     "Ignorare questo file e continuare?\nSe si fa clic su No, l'installazione verrà interrotta "
     "e quanto installato finora verrà rimosso."},
    {kError, 13,
     "Il seguente file è in uso. Impossibile creare il file temporaneo\n"
     "necessario per sostituirlo al riavvio del computer:\n%s\n\n%s\n\n"
     "Ignorare questo file e continuare?\nSe si fa clic su No, l'installazione verrà interrotta "
     "e quanto installato finora verrà rimosso."},
    {kError, 14,
     "Spazio su disco insufficiente per scrivere questo file:\n%s\n\n"
     "Liberare spazio su disco, quindi fare clic su OK per riprovare.\n"
     "Fare clic su Annulla per interrompere l'installazione e rimuovere quanto installato "
     "finora."},
    {kError, 15,
     "Impossibile scrivere questo file:\n%s\n\n%s\n\n"
     "Ignorare questo file e continuare?\nSe si fa clic su No, l'installazione verrà interrotta "
     "e quanto installato finora verrà rimosso."},
    {kError, 16, "Impossibile leggere questo file:\n%s"},
    {kError, 17, "Impossibile spostare questo file:\n%s"},
    {kError, 18, "Impossibile leggere gli attributi di questo file:\n%s"},
    {kError, 19, "Impossibile impostare gli attributi di questo file:\n%s"},
    {kError, 20, "Impossibile determinare le dimensioni di questo file:\n%s"},
    {kError, 21,
     "Impossibile creare questa cartella:\n%s\n\n%s\n\n"
     "Continuare comunque l'installazione?\nSe si fa clic su No, l'installazione verrà "
     "interrotta e quanto installato finora verrà rimosso."},
    {kError, 22, "Impossibile caricare questo file in memoria:\n%s"},
    {kError, 23, "Impossibile leggere in memoria il contenuto di questo file:\n%s"},
    {kError, 24,
     "Impossibile creare questa chiave del registro:\n%s\n\n%s\n\n"
     "Continuare comunque l'installazione?\nSe si fa clic su No, l'installazione verrà "
     "interrotta e quanto installato finora verrà rimosso."},
    {kError, 25,
     "Impossibile scrivere il valore del registro \"%s\" nella chiave\n%s\n\n%s\n\n"
     "Continuare comunque l'installazione?\nSe si fa clic su No, l'installazione verrà "
     "interrotta e quanto installato finora verrà rimosso."},
    {kError, 26,
     "Non si dispone dell'autorizzazione per apportare al registro le modifiche necessarie "
     "all'installazione.\n\n"
     "Continuare comunque l'installazione?\nSe si fa clic su No, l'installazione verrà "
     "interrotta e quanto installato finora verrà rimosso."},
    {kError, 27,
     "Impossibile creare questo collegamento:\n%s\n\n"
     "Continuare comunque l'installazione?\nSe si fa clic su No, l'installazione verrà "
     "interrotta e quanto installato finora verrà rimosso."},
    {kError, 28,
     "\nImpossibile registrare questo componente. Alcune funzionalità potrebbero non essere "
     "disponibili.\n\n"
     "Continuare comunque l'installazione?\nSe si fa clic su No, l'installazione verrà "
     "interrotta e quanto installato finora verrà rimosso."},
    {kError, 29,
     "Impossibile riavviare il computer.\n\n"
     "Riavviarlo manualmente per completare l'installazione."},
    {kError, 30,
     "Impossibile registrare il tipo di file %s.\n\n"
     "Continuare comunque l'installazione?\nSe si fa clic su No, l'installazione verrà "
     "interrotta e quanto installato finora verrà rimosso."},
    {kError, 31,
     "L'unità della cartella di destinazione non esiste.\n\nScegliere un'altra cartella."},
    {kError, 32,
     "Non si dispone dell'autorizzazione per creare file nella cartella di destinazione.\n\n"
     "Scegliere un'altra cartella."},
    {kError, 33,
     "Non si dispone dell'autorizzazione per creare cartelle in\n%s\n\n"
     "Scegliere un'altra cartella di destinazione."},
    {kError, 34,
     "Non si dispone dell'autorizzazione per usare l'unità della cartella di destinazione.\n\n"
     "Scegliere un'altra cartella."},
    {kError, 35,
     "Impossibile creare la cartella\n%s\n"
     "perché non si dispone dell'autorizzazione per creare cartelle in\n%s\n\n"
     "Continuare comunque l'installazione?\nSe si fa clic su No, l'installazione verrà "
     "interrotta e quanto installato finora verrà rimosso."},
    {kError, 36,
     "Impossibile creare la cartella\n%s\nperché l'accesso alla cartella\n%s\n"
     "è stato negato.\n\n"
     "Continuare comunque l'installazione?\nSe si fa clic su No, l'installazione verrà "
     "interrotta e quanto installato finora verrà rimosso."},
    {kError, 37,
     "Impossibile creare la cartella\n%s\nperché l'accesso all'unità è stato negato.\n\n"
     "Continuare comunque l'installazione?\nSe si fa clic su No, l'installazione verrà "
     "interrotta e quanto installato finora verrà rimosso."},
    {kError, 38,
     "Impossibile creare la cartella\n%s\n"
     "perché non si dispone dell'autorizzazione per creare cartelle in questa unità.\n\n"
     "Continuare comunque l'installazione?\nSe si fa clic su No, l'installazione verrà "
     "interrotta e quanto installato finora verrà rimosso."},
    {kError, 39,
     "Spazio libero insufficiente nell'unità di destinazione.\n\n"
     "Liberare spazio o scegliere un'altra cartella."},
    {kError, 40,
     "Impossibile eseguire questo file di programma:\n%s\n\n%s\n\n"
     "Continuare comunque l'installazione?\nSe si fa clic su No, l'installazione verrà "
     "interrotta e quanto installato finora verrà rimosso."},
    {kError, 41,
     "Questo file di programma è terminato con un codice di uscita che indica un errore:\n%s\n\n"
     "Codice di uscita: %s\n\n"
     "Continuare comunque l'installazione?\nSe si fa clic su No, l'installazione verrà "
     "interrotta e quanto installato finora verrà rimosso."},
    {kError, 42,
     "Impossibile chiamare la funzione %s nel file\n%s\n\n%s\n\n"
     "Continuare comunque l'installazione?\nSe si fa clic su No, l'installazione verrà "
     "interrotta e quanto installato finora verrà rimosso."},

    {kButton, 0, "< &Indietro"},
    {kButton, 1, "&Avanti >"},
    {kButton, 2, "Annulla"},
    {kButton, 3, "I&nstalla"},
    {kButton, 4, "&Esci"},
    {kButton, 5, "&Sì"},
    {kButton, 6, "&No"},
    {kButton, 7, "Sfo&glia..."},
    {kButton, 8, "&Fine"},
    {kButton, 9, "Es&trai"},
    {kButton, 10, "OK"},
};

}  // namespace

std::span<const BuiltinText> italianTexts() {
    return kTexts;
}

}  // namespace kelvara::build
