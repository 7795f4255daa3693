// Czech texts of the installer and the uninstaller.
#include "kelvara-build/languages/builtin_languages.h"

namespace kelvara::build {
namespace {

constexpr int kSetup = kTableSetupMessages;
constexpr int kError = kTableErrorMessages;
constexpr int kButton = kTableButtonLabels;
constexpr int kUn = kTableUninstaller;

constexpr BuiltinText kTexts[] = {
    {kPageLanguage, 0, "Instalace – %ProductName%"},
    {kPageLanguage, 1, "Výběr jazyka instalace"},
    {kPageLanguage, 2, "Vyberte jazyk, který se má použít během instalace."},
    {kPageLanguage, 3, "&Jazyk:"},

    {kPageWelcome, 0, "Instalace – %ProductName%"},
    {kPageWelcome, 1, "Vítá vás instalace programu %ProductName%"},
    {kPageWelcome, 2, "Tento průvodce nainstaluje program %ProductName% do vašeho počítače."},
    {kPageWelcome, 3, "Provede vás několika krátkými kroky."},
    {kPageWelcome, 4, "Před pokračováním doporučujeme ukončit všechny ostatní programy."},
    {kPageWelcome, 6,
     "Chcete-li pokračovat, klikněte na Další. Instalaci ukončíte kliknutím na Storno."},
    {kPageWelcome, 7, "Vítá vás průvodce instalací"},

    {kPageLicense, 0, "Instalace – %ProductName%"},
    {kPageLicense, 1, "Licenční smlouva"},
    {kPageLicense, 2, "Přečtěte si prosím následující &licenční smlouvu."},
    {kPageLicense, 3, "Přijímáte podmínky této licenční smlouvy?"},

    {kPageReadme, 0, "Instalace – %ProductName%"},
    {kPageReadme, 1, "Důležité informace"},
    {kPageReadme, 2, "Přečtěte si prosím následující důležité &informace."},

    {kPageComponents, 0, "Instalace – %ProductName%"},
    {kPageComponents, 1, "Výběr součástí"},
    {kPageComponents, 2, "Vyberte, které součásti programu %ProductName% se mají nainstalovat."},
    {kPageComponents, 3, "&Typ instalace:"},
    {kPageComponents, 4, "&Součásti:"},
    {kPageComponents, 5, "Požadované místo:"},
    {kPageComponents, 6, "Volné místo na jednotce %DISK%:"},
    {kPageComponents, 9, "Vyberte součást a zobrazí se její popis."},
    {kPageComponents, 14, "Popis"},

    {kPageScope, 0, "Instalace – %ProductName%"},
    {kPageScope, 1, "Výběr uživatelů"},
    {kPageScope, 2, "Vyberte, pro koho se má program %ProductName% nainstalovat."},
    {kPageScope, 3, "Instalovat pro &všechny uživatele tohoto počítače"},
    {kPageScope, 4,
     "Program budou moci používat všichni uživatelé tohoto počítače. Instalační program k tomu "
     "potřebuje oprávnění správce."},
    {kPageScope, 5, "Instalovat jen pro &mě"},
    {kPageScope, 6,
     "Program budete moci používat jen vy. Nainstaluje se do vašich vlastních složek a instalační "
     "program nepotřebuje oprávnění správce."},

    {kPageDestination, 0, "Instalace – %ProductName%"},
    {kPageDestination, 1, "Výběr umístění instalace"},
    {kPageDestination, 2,
     "Instalační program nainstaluje %ProductName% do následující složky. Chcete-li použít jinou "
     "složku, zadejte její cestu nebo klikněte na Procházet."},
    {kPageDestination, 3, "Cílová &složka"},
    {kPageDestination, 4, "Vyberte složku, do které se má program nainstalovat:"},
    {kPageDestination, 5, "Požadované místo:"},
    {kPageDestination, 6, "Volné místo na jednotce %DISK%:"},

    {kPageTasks, 0, "Instalace – %ProductName%"},
    {kPageTasks, 1, "Doplňující úlohy"},
    {kPageTasks, 2, "Vyberte, co má instalační program ještě provést, a klikněte na Další."},
    {kPageTasks, 3, "Doplňující ú&lohy:"},
    {kPageTasks, 9, "Vyberte úlohu a zobrazí se její popis."},

    {kPageStartMenu, 0, "Instalace – %ProductName%"},
    {kPageStartMenu, 1, "Výběr složky v nabídce Start"},
    {kPageStartMenu, 2,
     "Instalační program přidá zás&tupce do níže uvedené složky v nabídce Start. Zadejte nový "
     "název nebo vyberte existující složku."},
    {kPageStartMenu, 3, "Vytvořit složku v &nabídce Start"},
    {kPageStartMenu, 4, "Vytvořit zástupce na &ploše"},
    {kPageStartMenu, 5, "Vytvořit zástupce na panelu &Snadné spuštění"},

    {kPageReady, 0, "Instalace – %ProductName%"},
    {kPageReady, 1, "Připraveno k instalaci"},
    {kPageReady, 2,
     "Instalační program je připraven nainstalovat %ProductName% do vašeho počítače."},
    {kPageReady, 3,
     "Instalaci zahájíte kliknutím na Instalovat. Chcete-li nastavení zkontrolovat nebo změnit, "
     "klikněte na Zpět."},

    {kPageInstalling, 0, "Instalace – %ProductName%"},
    {kPageInstalling, 1, "Probíhá instalace programu %ProductName%"},
    {kPageInstalling, 2,
     "Počkejte prosím, než instalační program nainstaluje %ProductName% do vašeho počítače."},
    {kPageInstalling, 3, "Chcete-li instalaci zastavit, klikněte na Storno."},
    {kPageInstalling, 4, "Kopírování souborů..."},
    {kPageInstalling, 5, "Vytváření zástupců..."},
    {kPageInstalling, 6, "Aktualizace registru..."},
    {kPageInstalling, 7, "Aktualizace souborů s nastavením..."},
    {kPageInstalling, 8, "Registrace typů souborů..."},
    {kPageInstalling, 13, "Dokončování instalace..."},

    {kPageFinish, 0, "Instalace – %ProductName%"},
    {kPageFinish, 1, "Instalace dokončena"},
    {kPageFinish, 2, "Instalace programu %ProductName% byla dokončena."},
    {kPageFinish, 3,
     "Nyní můžete %ProductName% používat. Instalační program zavřete kliknutím na Dokončit."},
    {kPageFinish, 4, "&Otevřít dokumentaci"},
    {kPageFinish, 5, "&Spustit %ProductName% nyní"},
    {kPageFinish, 6, "&Restartovat počítač nyní"},
    {kPageFinish, 7,
     "Některé součásti se nepodařilo nainstalovat. Problémy popisují zprávy zobrazené během "
     "instalace."},
    {kPageFinish, 8,
     "K dokončení instalace je nutné restartovat systém Windows. Restartujte jej nyní, nebo "
     "zrušte zaškrtnutí políčka níže a restartujte později."},
    {kPageFinish, 9,
     "Některé soubory byly používány. Instalační program je nahradí po restartování počítače."},
    {kPageFinish, 10, "K dokončení instalace je nutné restartovat počítač."},

    {kUn, 0, "Odinstalace – %s"},
    {kUn, 1, "Odebrání aplikace"},
    {kUn, 2, "Počkejte prosím, probíhá odebírání programu %s z vašeho počítače."},
    {kUn, 3, "Opravdu chcete program %s zcela odebrat?"},
    {kUn, 4, "Odinstalace dokončena"},
    {kUn, 5, "Program %s byl úspěšně odebrán z vašeho počítače."},
    {kUn, 6,
     "Program %s byl odebrán z vašeho počítače, ale některé jeho položky se nepodařilo odebrat."},
    {kUn, 7,
     "Odinstalace není dokončena.\nPokud ji nyní ukončíte, program nebude správně "
     "odinstalován.\n\nOpravdu chcete odinstalaci ukončit?"},
    {kUn, 8, "Dokončit"},
    {kUn, 10, "Storno"},
    {kUn, 11,
     "Některé složky obsahují soubory, které nebyly vytvořeny touto instalací a nelze je "
     "automaticky odstranit. Zaškrtněte políčko u každého souboru nebo složky, které chcete "
     "odstranit, a potom klikněte na tlačítko „Odstranit“."},
    {kUn, 12, "Vybrat &vše"},
    {kUn, 13, "&Odstranit"},
    {kUn, 14, "Opravdu chcete odstranit všechny vybrané soubory a složky?"},
    {kUn, 15, "Potvrzení operace"},
    {kUn, 16, "Odstraňování souborů..."},
    {kUn, 17, "Odstraňování zástupců z nabídky Start..."},
    {kUn, 18, "Odstraňování položek registru..."},
    {kUn, 19, "Spouštění programů..."},
    {kUn, 20, "Odstraňování klíčů registru..."},
    {kUn, 21, "Volání funkcí knihoven DLL..."},
    {kUn, 22, "Odstraňování sdílených souborů..."},
    {kUn, 23, "Odstranění hodnoty registru"},
    {kUn, 24, "Chyba při odstraňování hodnoty registru „%s“ v klíči „%s“.\n%s"},
    {kUn, 25, "Odstranění klíče registru"},
    {kUn, 26, "Chyba při odstraňování klíče registru „%s“.\n%s"},
    {kUn, 27, "Krok odinstalace"},
    {kUn, 28, "Tento krok odinstalace se nezdařil:\n%s\n\nOdinstalace pokračuje."},
    {kUn, 29, "Odstranění souboru"},
    {kUn, 30,
     "Soubor %s\nprávě používá jiná aplikace.\nChcete se znovu pokusit soubor odstranit, místo "
     "abyste\nna konci odinstalace restartovali počítač?"},
    {kUn, 31, "Zjištěn sdílený soubor"},
    {kUn, 32,
     "Podle systému již následující sdílený soubor nepoužívá žádný program. Pokud jej některé "
     "programy přesto používají a bude odebrán, nemusí tyto programy fungovat. Opravdu chcete "
     "sdílený soubor odebrat?\n\nNázev souboru: "},
    {kUn, 33, "\nUmístění: "},
    {kUn, 34,
     "\n\nPonechání tohoto souboru systému neuškodí. Pokud si nejste jisti, co dělat, doporučujeme "
     "tuto sdílenou součást neodebírat."},
    {kUn, 35,
     "Rozhodli jste se odebrat všechny sdílené součásti, které podle systému\njiž nejsou "
     "používány. Některé programy pak nemusí fungovat, pokud\nněkterý z těchto souborů stále "
     "potřebují. Opravdu chcete pokračovat?"},
    {kUn, 36,
     "Tyto programy používají soubory, které je nutné odebrat:\n\n%s\n\n"
     "Chcete je nyní zavřít?\nPokud kliknete na Ne, zůstanou spuštěné a jejich soubory budou "
     "odebrány po restartování počítače."},
    {kUn, 37, "&Ano"},
    {kUn, 38, "Ano &všem"},
    {kUn, 39, "&Ne"},
    {kUn, 40,
     "K dokončení odinstalace je nutné restartovat počítač.\nNěkteré soubory jsou používány a lze "
     "je odstranit pouze při restartování systému.\n\nRestartovat systém nyní?"},
    {kUn, 41,
     "Počítač se nepodařilo restartovat.\n\n"
     "K dokončení odinstalace jej restartujte sami."},

    {kPageFilesInUse, 0, "Instalace – %ProductName%"},
    {kPageFilesInUse, 1, "Používané programy"},
    {kPageFilesInUse, 2,
     "Spuštěné programy používají soubory, které musí instalační program nahradit."},
    {kPageFilesInUse, 3,
     "Instalační program může tyto programy nyní zavřít a po dokončení instalace je znovu "
     "spustit:"},
    {kPageFilesInUse, 4, "&Automaticky je zavřít a znovu spustit"},
    {kPageFilesInUse, 5, "&Nezavírat je (bude nutný restart)"},

    {kSetup, 0,
     "Instalace nebyla dokončena. Pokud ji nyní ukončíte, program nebude nainstalován.\n\n"
     "Chcete instalaci ukončit?"},
    {kSetup, 1,
     "K dokončení konfigurace je nutné restartovat počítač.\n\n"
     "Chcete jej restartovat nyní?"},
    {kSetup, 2,
     "Instalační složka není platná.\n\nZadejte úplnou cestu ke složce včetně jednotky."},
    {kSetup, 3, "Cílová složka není platná.\n\nZadejte úplnou cestu ke složce včetně jednotky."},
    {kSetup, 4, "Chcete zastavit rozbalování souborů?"},
    {kSetup, 5,
     "Některé soubory, které musel instalační program nahradit, byly používány. Budou nahrazeny "
     "po restartování počítače.\n\nChcete počítač restartovat nyní?"},
    {kSetup, 6,
     "Následující soubor používá jiný program:\n%s\n\n"
     "Chcete to zkusit znovu? Nejprve ukončete daný program a potom klikněte na Ano.\n"
     "Pokud kliknete na Ne, bude soubor nahrazen po restartování počítače."},
    {kSetup, 7, "Následující soubor používá jiný program a nelze jej nahradit:\n%s"},
    {kSetup, 8,
     "Instalace programu stále probíhá.\n"
     "Pokud ji ukončíte před dokončením, bude odebráno vše, co bylo dosud nainstalováno.\n\n"
     "Chcete instalaci ukončit?"},
    {kSetup, 9,
     "Instalace byla dokončena, ale některé součásti programu se nepodařilo nainstalovat.\n"
     "Problémy popisují zprávy zobrazené během instalace."},
    {kSetup, 10, "Před použitím programu %s restartujte počítač."},
    {kSetup, 11,
     "K instalaci tohoto programu potřebujete oprávnění správce.\n\n"
     "Přihlaste se jako správce a spusťte instalaci znovu."},
    {kSetup, 12,
     "Tento program vyžaduje systém Windows NT, Windows 2000, Windows XP nebo novější verzi "
     "systému Windows."},
    {kSetup, 13, "Tento program vyžaduje %s nebo novější verzi.\n\nInstalace nemůže pokračovat."},
    {kSetup, 14, "Tento program vyžaduje 64bitovou verzi systému Windows."},
    {kSetup, 15, "Tento program vyžaduje verzi systému Windows pro ARM64."},
    {kSetup, 16,
     "Tyto programy používají soubory, které musí instalační program nahradit:\n\n%s\n\n"
     "Chcete, aby je instalační program zavřel a potom znovu spustil?\n"
     "Pokud kliknete na Ne, zůstanou spuštěné a k dokončení instalace bude nutné restartovat "
     "počítač."},
    {kSetup, 17,
     "V tomto počítači je již nainstalována novější verze programu %s (verze %s).\n\n"
     "Instalační program přes ni nemůže nainstalovat starší verzi %s. Chcete-li použít tuto "
     "verzi, nejprve novější verzi odinstalujte."},

    {kError, 0,
     "Instalační program nemohl vytvořit okno potřebné k instalaci.\n\n"
     "Instalační program bude nyní ukončen."},
    {kError, 1,
     "Při pokusu o čtení tohoto souboru byl odepřen přístup:\n%s\n\n"
     "Chcete tento soubor přeskočit a pokračovat?\nPokud kliknete na Ne, instalační program se "
     "zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 2,
     "Nemáte oprávnění tento soubor změnit:\n%s\n\n"
     "Chcete tento soubor přeskočit a pokračovat?\nPokud kliknete na Ne, instalační program se "
     "zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 3,
     "Při pokusu o otevření tohoto souboru byl odepřen přístup:\n%s\n\n"
     "Chcete tento soubor přeskočit a pokračovat?\nPokud kliknete na Ne, instalační program se "
     "zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 4,
     "Instalační program nemohl otevřít tento soubor pro čtení:\n%s\n\n%s\n\n"
     "Chcete tento soubor přeskočit a pokračovat?\nPokud kliknete na Ne, instalační program se "
     "zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 5,
     "Instalační program nemohl otevřít tento soubor, aby jej nahradil:\n%s\n\n%s\n\n"
     "Chcete tento soubor přeskočit a pokračovat?\nPokud kliknete na Ne, instalační program se "
     "zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 6,
     "Instalační program nemohl otevřít tento soubor:\n%s\n\n%s\n\n"
     "Chcete tento soubor přeskočit a pokračovat?\nPokud kliknete na Ne, instalační program se "
     "zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 7,
     "Při pokusu o vytvoření tohoto souboru byl odepřen přístup:\n%s\n\n"
     "Chcete tento soubor přeskočit a pokračovat?\nPokud kliknete na Ne, instalační program se "
     "zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 8,
     "Instalační program nemohl soubor\n%s\nvytvořit, protože nemáte oprávnění přidávat soubory "
     "do složky\n%s\n\nChcete tento soubor přeskočit a pokračovat?\n"
     "Pokud kliknete na Ne, instalační program se zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 9,
     "Při pokusu o vytvoření a otevření tohoto souboru byl odepřen přístup:\n%s\n\n"
     "Chcete tento soubor přeskočit a pokračovat?\nPokud kliknete na Ne, instalační program se "
     "zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 10,
     "Instalační program nemohl vytvořit tento soubor pro čtení:\n%s\n\n%s\n\n"
     "Chcete tento soubor přeskočit a pokračovat?\nPokud kliknete na Ne, instalační program se "
     "zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 11,
     "Instalační program nemohl vytvořit tento soubor:\n%s\n\n%s\n\n"
     "Chcete tento soubor přeskočit a pokračovat?\nPokud kliknete na Ne, instalační program se "
     "zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 12,
     "Instalační program nemohl vytvořit a otevřít tento soubor:\n%s\n\n%s\n\n"
     "Chcete tento soubor přeskočit a pokračovat?\nPokud kliknete na Ne, instalační program se "
     "zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 13,
     "Následující soubor je používán. Instalační program nemohl vytvořit dočasný soubor\n"
     "potřebný k jeho nahrazení po restartování počítače:\n%s\n\n%s\n\n"
     "Chcete tento soubor přeskočit a pokračovat?\nPokud kliknete na Ne, instalační program se "
     "zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 14,
     "Na disku není dost místa pro zápis tohoto souboru:\n%s\n\n"
     "Uvolněte místo na disku a potom to zkuste znovu kliknutím na OK.\n"
     "Kliknutím na Storno instalaci zastavíte a odeberete vše, co bylo dosud nainstalováno."},
    {kError, 15,
     "Instalační program nemohl zapsat tento soubor:\n%s\n\n%s\n\n"
     "Chcete tento soubor přeskočit a pokračovat?\nPokud kliknete na Ne, instalační program se "
     "zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 16, "Instalační program nemohl přečíst tento soubor:\n%s"},
    {kError, 17, "Instalační program nemohl přesunout tento soubor:\n%s"},
    {kError, 18, "Instalační program nemohl přečíst atributy tohoto souboru:\n%s"},
    {kError, 19, "Instalační program nemohl nastavit atributy tohoto souboru:\n%s"},
    {kError, 20, "Instalační program nemohl zjistit velikost tohoto souboru:\n%s"},
    {kError, 21,
     "Instalační program nemohl vytvořit tuto složku:\n%s\n\n%s\n\n"
     "Chcete přesto pokračovat v instalaci?\nPokud kliknete na Ne, instalační program se zastaví "
     "a odebere vše, co dosud nainstaloval."},
    {kError, 22, "Instalační program nemohl načíst tento soubor do paměti:\n%s"},
    {kError, 23, "Instalační program nemohl načíst obsah tohoto souboru do paměti:\n%s"},
    {kError, 24,
     "Instalační program nemohl vytvořit tento klíč registru:\n%s\n\n%s\n\n"
     "Chcete přesto pokračovat v instalaci?\nPokud kliknete na Ne, instalační program se zastaví "
     "a odebere vše, co dosud nainstaloval."},
    {kError, 25,
     "Instalační program nemohl zapsat hodnotu registru „%s“ do klíče\n%s\n\n%s\n\n"
     "Chcete přesto pokračovat v instalaci?\nPokud kliknete na Ne, instalační program se zastaví "
     "a odebere vše, co dosud nainstaloval."},
    {kError, 26,
     "Nemáte oprávnění provést v registru změny, které instalační program potřebuje.\n\n"
     "Chcete přesto pokračovat v instalaci?\nPokud kliknete na Ne, instalační program se zastaví "
     "a odebere vše, co dosud nainstaloval."},
    {kError, 27,
     "Instalační program nemohl vytvořit tohoto zástupce:\n%s\n\n"
     "Chcete přesto pokračovat v instalaci?\nPokud kliknete na Ne, instalační program se zastaví "
     "a odebere vše, co dosud nainstaloval."},
    {kError, 28,
     "\nTuto součást se nepodařilo zaregistrovat, takže některé funkce nemusí fungovat.\n\n"
     "Chcete přesto pokračovat v instalaci?\nPokud kliknete na Ne, instalační program se zastaví "
     "a odebere vše, co dosud nainstaloval."},
    {kError, 29,
     "Instalační program nemohl restartovat počítač.\n\n"
     "K dokončení instalace jej restartujte sami."},
    {kError, 30,
     "Instalační program nemohl zaregistrovat typ souboru %s.\n\n"
     "Chcete přesto pokračovat v instalaci?\nPokud kliknete na Ne, instalační program se zastaví "
     "a odebere vše, co dosud nainstaloval."},
    {kError, 31, "Jednotka cílové složky neexistuje.\n\nVyberte jinou složku."},
    {kError, 32, "Nemáte oprávnění vytvářet soubory v cílové složce.\n\nVyberte jinou složku."},
    {kError, 33,
     "Nemáte oprávnění vytvářet složky v umístění\n%s\n\nVyberte jinou cílovou složku."},
    {kError, 34, "Nemáte oprávnění používat jednotku cílové složky.\n\nVyberte jinou složku."},
    {kError, 35,
     "Instalační program nemohl složku\n%s\nvytvořit, protože nemáte oprávnění vytvářet složky "
     "v umístění\n%s\n\nChcete přesto pokračovat v instalaci?\n"
     "Pokud kliknete na Ne, instalační program se zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 36,
     "Instalační program nemohl složku\n%s\nvytvořit, protože přístup ke složce\n%s\nbyl "
     "odepřen.\n\nChcete přesto pokračovat v instalaci?\n"
     "Pokud kliknete na Ne, instalační program se zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 37,
     "Instalační program nemohl složku\n%s\nvytvořit, protože přístup k jednotce byl "
     "odepřen.\n\nChcete přesto pokračovat v instalaci?\n"
     "Pokud kliknete na Ne, instalační program se zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 38,
     "Instalační program nemohl složku\n%s\nvytvořit, protože nemáte oprávnění vytvářet složky "
     "na této jednotce.\n\nChcete přesto pokračovat v instalaci?\n"
     "Pokud kliknete na Ne, instalační program se zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 39,
     "Na cílové jednotce není dost volného místa.\n\n"
     "Uvolněte místo nebo vyberte jinou složku."},
    {kError, 40,
     "Instalační program nemohl spustit tento programový soubor:\n%s\n\n%s\n\n"
     "Chcete přesto pokračovat v instalaci?\nPokud kliknete na Ne, instalační program se zastaví "
     "a odebere vše, co dosud nainstaloval."},
    {kError, 41,
     "Tento programový soubor skončil s kódem, který značí selhání:\n"
     "%s\n\nUkončovací kód: %s\n\nChcete přesto pokračovat v instalaci?\n"
     "Pokud kliknete na Ne, instalační program se zastaví a odebere vše, co dosud nainstaloval."},
    {kError, 42,
     "Instalační program nemohl zavolat funkci %s v souboru\n%s\n\n%s\n\n"
     "Chcete přesto pokračovat v instalaci?\nPokud kliknete na Ne, instalační program se zastaví "
     "a odebere vše, co dosud nainstaloval."},

    {kButton, 0, "< &Zpět"},
    {kButton, 1, "&Další >"},
    {kButton, 2, "Storno"},
    {kButton, 3, "&Instalovat"},
    {kButton, 4, "&Konec"},
    {kButton, 5, "&Ano"},
    {kButton, 6, "&Ne"},
    {kButton, 7, "&Procházet..."},
    {kButton, 8, "&Dokončit"},
    {kButton, 9, "&Rozbalit"},
    {kButton, 10, "OK"},
};

}  // namespace

std::span<const BuiltinText> czechTexts() {
    return kTexts;
}

}  // namespace kelvara::build
