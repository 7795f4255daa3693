// Polish texts of the installer and the uninstaller.
#include "kelvara-build/languages/builtin_languages.h"

namespace kelvara::build {
namespace {

constexpr int kSetup = kTableSetupMessages;
constexpr int kError = kTableErrorMessages;
constexpr int kButton = kTableButtonLabels;
constexpr int kUn = kTableUninstaller;

constexpr BuiltinText kTexts[] = {
    {kPageLanguage, 0, "Instalacja programu %ProductName%"},
    {kPageLanguage, 1, "Wybór języka instalacji"},
    {kPageLanguage, 2, "Wybierz język, który będzie używany podczas instalacji."},
    {kPageLanguage, 3, "&Język:"},

    {kPageWelcome, 0, "Instalacja programu %ProductName%"},
    {kPageWelcome, 1, "Witamy w instalatorze programu %ProductName%"},
    {kPageWelcome, 2, "Ten kreator zainstaluje program %ProductName% na tym komputerze."},
    {kPageWelcome, 3, "Instalacja składa się z kilku krótkich kroków."},
    {kPageWelcome, 4, "Przed kontynuowaniem zaleca się zamknięcie wszystkich innych programów."},
    {kPageWelcome, 6,
     "Kliknij przycisk Dalej, aby kontynuować, lub Anuluj, aby zamknąć instalator."},
    {kPageWelcome, 7, "Witamy w instalatorze"},

    {kPageLicense, 0, "Instalacja programu %ProductName%"},
    {kPageLicense, 1, "Umowa licencyjna"},
    {kPageLicense, 2, "Przeczytaj poniższą &umowę licencyjną."},
    {kPageLicense, 3, "Czy akceptujesz warunki tej umowy licencyjnej?"},

    {kPageReadme, 0, "Instalacja programu %ProductName%"},
    {kPageReadme, 1, "Ważne informacje"},
    {kPageReadme, 2, "Przeczytaj poniższe ważne &informacje."},

    {kPageComponents, 0, "Instalacja programu %ProductName%"},
    {kPageComponents, 1, "Wybór składników"},
    {kPageComponents, 2, "Wybierz składniki programu %ProductName% do zainstalowania."},
    {kPageComponents, 3, "&Typ instalacji:"},
    {kPageComponents, 4, "&Składniki:"},
    {kPageComponents, 5, "Wymagane miejsce:"},
    {kPageComponents, 6, "Miejsce dostępne na dysku %DISK%:"},
    {kPageComponents, 9, "Zaznacz składnik, aby zobaczyć jego opis."},
    {kPageComponents, 14, "Opis"},

    {kPageScope, 0, "Instalacja programu %ProductName%"},
    {kPageScope, 1, "Wybór użytkowników"},
    {kPageScope, 2, "Wybierz, dla kogo ma zostać zainstalowany program %ProductName%."},
    {kPageScope, 3, "Zainstaluj dla wszystkich &użytkowników tego komputera"},
    {kPageScope, 4,
     "Program będzie dostępny dla każdego użytkownika tego komputera. Instalator potrzebuje do "
     "tego uprawnień administratora."},
    {kPageScope, 5, "Zainstaluj tylko dla &mnie"},
    {kPageScope, 6,
     "Program będzie dostępny tylko dla bieżącego użytkownika. Trafi do jego własnych folderów, "
     "a instalator nie potrzebuje uprawnień administratora."},

    {kPageDestination, 0, "Instalacja programu %ProductName%"},
    {kPageDestination, 1, "Wybór miejsca instalacji"},
    {kPageDestination, 2,
     "Program %ProductName% zostanie zainstalowany w poniższym folderze. Aby użyć innego "
     "folderu, wpisz jego ścieżkę lub kliknij przycisk Przeglądaj."},
    {kPageDestination, 3, "&Folder docelowy"},
    {kPageDestination, 4, "Wybierz folder, w którym ma zostać zainstalowany program:"},
    {kPageDestination, 5, "Wymagane miejsce:"},
    {kPageDestination, 6, "Miejsce dostępne na dysku %DISK%:"},

    {kPageTasks, 0, "Instalacja programu %ProductName%"},
    {kPageTasks, 1, "Dodatkowe zadania"},
    {kPageTasks, 2,
     "Wybierz, co jeszcze ma zrobić instalator, a następnie kliknij przycisk Dalej."},
    {kPageTasks, 3, "Dodatkowe &zadania:"},
    {kPageTasks, 9, "Zaznacz zadanie, aby zobaczyć jego opis."},

    {kPageStartMenu, 0, "Instalacja programu %ProductName%"},
    {kPageStartMenu, 1, "Wybór folderu menu Start"},
    {kPageStartMenu, 2,
     "Instalator doda &skróty do poniższego folderu menu Start. Wpisz nową nazwę lub wybierz "
     "istniejący folder."},
    {kPageStartMenu, 3, "Utwórz &folder w menu Start"},
    {kPageStartMenu, 4, "Utwórz skróty na &pulpicie"},
    {kPageStartMenu, 5, "Utwórz skróty na pasku Szybkie &uruchamianie"},

    {kPageReady, 0, "Instalacja programu %ProductName%"},
    {kPageReady, 1, "Gotowy do instalacji"},
    {kPageReady, 2,
     "Instalator jest gotowy do zainstalowania programu %ProductName% na tym komputerze."},
    {kPageReady, 3,
     "Kliknij przycisk Zainstaluj, aby rozpocząć, lub Wstecz, aby przejrzeć lub zmienić "
     "ustawienia."},

    {kPageInstalling, 0, "Instalacja programu %ProductName%"},
    {kPageInstalling, 1, "Instalowanie programu %ProductName%"},
    {kPageInstalling, 2,
     "Trwa instalowanie programu %ProductName% na tym komputerze. Proszę czekać."},
    {kPageInstalling, 3, "Aby przerwać instalację, kliknij przycisk Anuluj."},
    {kPageInstalling, 4, "Kopiowanie plików..."},
    {kPageInstalling, 5, "Tworzenie skrótów..."},
    {kPageInstalling, 6, "Aktualizowanie rejestru..."},
    {kPageInstalling, 7, "Aktualizowanie plików ustawień..."},
    {kPageInstalling, 8, "Rejestrowanie typów plików..."},
    {kPageInstalling, 13, "Kończenie instalacji..."},

    {kPageFinish, 0, "Instalacja programu %ProductName%"},
    {kPageFinish, 1, "Instalacja zakończona"},
    {kPageFinish, 2, "Instalator zakończył instalowanie programu %ProductName%."},
    {kPageFinish, 3,
     "Można już używać programu %ProductName%. Kliknij przycisk Zakończ, aby zamknąć instalator."},
    {kPageFinish, 4, "&Otwórz dokumentację"},
    {kPageFinish, 5, "&Uruchom teraz program %ProductName%"},
    {kPageFinish, 6, "Uruchom teraz ponownie &komputer"},
    {kPageFinish, 7,
     "Nie udało się zainstalować niektórych części. Komunikaty wyświetlone podczas instalacji "
     "opisują problemy."},
    {kPageFinish, 8,
     "Aby zakończyć instalację, należy ponownie uruchomić system Windows. Uruchom go ponownie "
     "teraz lub wyczyść pole wyboru poniżej, aby zrobić to później."},
    {kPageFinish, 9,
     "Niektóre pliki były w użyciu. Instalator zastąpi je po ponownym uruchomieniu komputera."},
    {kPageFinish, 10, "Aby zakończyć instalację, należy ponownie uruchomić komputer."},

    {kUn, 0, "Dezinstalacja programu %s"},
    {kUn, 1, "Usuwanie programu"},
    {kUn, 2, "Trwa usuwanie programu %s z tego komputera. Proszę czekać."},
    {kUn, 3, "Czy na pewno całkowicie usunąć program %s?"},
    {kUn, 4, "Dezinstalacja zakończona"},
    {kUn, 5, "Program %s został pomyślnie usunięty z tego komputera."},
    {kUn, 6,
     "Program %s został usunięty z tego komputera, ale nie udało się usunąć niektórych jego "
     "elementów."},
    {kUn, 7,
     "Dezinstalacja nie została ukończona.\nJej przerwanie teraz sprawi, że program nie zostanie "
     "poprawnie odinstalowany.\n\nCzy na pewno zakończyć?"},
    {kUn, 8, "Zakończ"},
    {kUn, 10, "Anuluj"},
    {kUn, 11,
     "Niektóre foldery zawierają pliki, które nie zostały utworzone przez tę instalację i nie "
     "mogą zostać usunięte automatycznie. Zaznacz pole wyboru obok każdego pliku lub folderu do "
     "usunięcia, a następnie kliknij przycisk „Usuń”."},
    {kUn, 12, "Zaznacz &wszystko"},
    {kUn, 13, "&Usuń"},
    {kUn, 14, "Czy na pewno usunąć wszystkie zaznaczone pliki i foldery?"},
    {kUn, 15, "Potwierdzenie operacji"},
    {kUn, 16, "Usuwanie plików..."},
    {kUn, 17, "Usuwanie skrótów z menu Start..."},
    {kUn, 18, "Usuwanie wpisów rejestru..."},
    {kUn, 19, "Uruchamianie programów..."},
    {kUn, 20, "Usuwanie kluczy rejestru..."},
    {kUn, 21, "Wywoływanie funkcji bibliotek DLL..."},
    {kUn, 22, "Usuwanie plików współużytkowanych..."},
    {kUn, 23, "Usuwanie wartości rejestru"},
    {kUn, 24, "Błąd podczas usuwania wartości rejestru '%s' w kluczu '%s'.\n%s"},
    {kUn, 25, "Usuwanie klucza rejestru"},
    {kUn, 26, "Błąd podczas usuwania klucza rejestru '%s'.\n%s"},
    {kUn, 27, "Krok dezinstalacji"},
    {kUn, 28, "Ten krok dezinstalacji nie powiódł się:\n%s\n\nDezinstalacja będzie kontynuowana."},
    {kUn, 29, "Usuwanie pliku"},
    {kUn, 30,
     "Plik %s\njest obecnie używany przez inny program.\nCzy spróbować jeszcze raz usunąć plik, "
     "zamiast uruchamiać ponownie komputer po zakończeniu dezinstalacji?"},
    {kUn, 31, "Wykryto plik współużytkowany"},
    {kUn, 32,
     "Według systemu następujący plik współużytkowany nie jest już używany przez żaden program. "
     "Jeśli jakiś program nadal używa tego pliku, a plik zostanie usunięty, ten program może "
     "przestać działać. Czy na pewno usunąć plik współużytkowany?\n\n"
     "Nazwa pliku: "},
    {kUn, 33, "\nLokalizacja: "},
    {kUn, 34,
     "\n\nPozostawienie tego pliku nie zaszkodzi systemowi. W razie wątpliwości zaleca się "
     "nieusuwanie tego składnika współużytkowanego."},
    {kUn, 35,
     "Wybrano usunięcie wszystkich składników współużytkowanych, które według systemu nie są już "
     "używane. Może to spowodować, że niektóre programy przestaną działać, jeśli nadal "
     "potrzebują któregoś z tych plików. Czy na pewno kontynuować?"},
    {kUn, 36,
     "Te programy używają plików, które muszą zostać usunięte:\n\n"
     "%s\n\nCzy zamknąć je teraz?\nW przypadku kliknięcia przycisku Nie programy będą nadal "
     "działać, a ich pliki zostaną usunięte po ponownym uruchomieniu komputera."},
    {kUn, 37, "&Tak"},
    {kUn, 38, "Tak dla &wszystkich"},
    {kUn, 39, "&Nie"},
    {kUn, 40,
     "Aby zakończyć dezinstalację, należy ponownie uruchomić komputer.\nNiektóre pliki są w "
     "użyciu i można je usunąć dopiero podczas ponownego uruchamiania systemu.\n\n"
     "Czy ponownie uruchomić system teraz?"},
    {kUn, 41,
     "Nie udało się ponownie uruchomić komputera.\n\n"
     "Uruchom go ponownie samodzielnie, aby zakończyć dezinstalację."},

    {kPageFilesInUse, 0, "Instalacja programu %ProductName%"},
    {kPageFilesInUse, 1, "Programy w użyciu"},
    {kPageFilesInUse, 2, "Uruchomione programy używają plików, które instalator musi zastąpić."},
    {kPageFilesInUse, 3,
     "Instalator może teraz zamknąć te programy i uruchomić je ponownie po zakończeniu "
     "instalacji:"},
    {kPageFilesInUse, 4, "&Zamknij je automatycznie i uruchom ponownie"},
    {kPageFilesInUse, 5, "&Nie zamykaj (wymagane ponowne uruchomienie)"},

    {kSetup, 0,
     "Instalacja nie została ukończona. Jeśli instalator zostanie teraz zamknięty, program nie "
     "zostanie zainstalowany.\n\nCzy zakończyć pracę instalatora?"},
    {kSetup, 1,
     "Aby zakończyć konfigurację, należy ponownie uruchomić komputer.\n\n"
     "Czy uruchomić go ponownie teraz?"},
    {kSetup, 2,
     "Folder instalacyjny jest nieprawidłowy.\n\nWpisz pełną ścieżkę folderu, łącznie z literą "
     "dysku."},
    {kSetup, 3,
     "Folder docelowy jest nieprawidłowy.\n\nWpisz pełną ścieżkę folderu, łącznie z literą dysku."},
    {kSetup, 4, "Czy przerwać wyodrębnianie plików?"},
    {kSetup, 5,
     "Niektóre pliki, które instalator miał zastąpić, były w użyciu. Zostaną zastąpione po "
     "ponownym uruchomieniu komputera.\n\nCzy uruchomić go ponownie teraz?"},
    {kSetup, 6,
     "Następujący plik jest używany przez inny program:\n%s\n\n"
     "Czy spróbować ponownie? Najpierw zamknij ten program, a następnie kliknij przycisk Tak.\n"
     "W przypadku kliknięcia przycisku Nie plik zostanie zastąpiony po ponownym uruchomieniu "
     "komputera."},
    {kSetup, 7,
     "Następujący plik jest używany przez inny program i nie może zostać zastąpiony:\n"
     "%s"},
    {kSetup, 8,
     "Instalator nadal instaluje program.\nW przypadku przerwania przed zakończeniem wszystko, "
     "co zostało dotąd zainstalowane, zostanie usunięte.\n\n"
     "Czy zakończyć pracę instalatora?"},
    {kSetup, 9,
     "Instalacja została zakończona, ale nie udało się zainstalować niektórych części programu.\n"
     "Komunikaty wyświetlone podczas instalacji opisują problemy."},
    {kSetup, 10, "Przed użyciem programu %s uruchom ponownie komputer."},
    {kSetup, 11,
     "Do zainstalowania tego programu wymagane są uprawnienia administratora.\n\n"
     "Zaloguj się jako administrator i ponownie uruchom instalator."},
    {kSetup, 12,
     "Ten program wymaga systemu Windows NT, Windows 2000, Windows XP lub nowszej wersji systemu "
     "Windows."},
    {kSetup, 13, "Ten program wymaga %s lub nowszej wersji.\n\nInstalator nie może kontynuować."},
    {kSetup, 14, "Ten program wymaga 64-bitowej wersji systemu Windows."},
    {kSetup, 15, "Ten program wymaga wersji ARM64 systemu Windows."},
    {kSetup, 16,
     "Te programy używają plików, które instalator musi zastąpić:\n\n"
     "%s\n\nCzy instalator ma je zamknąć, a potem uruchomić ponownie?\nW przypadku kliknięcia "
     "przycisku Nie programy będą nadal działać, a do zakończenia instalacji konieczne będzie "
     "ponowne uruchomienie komputera."},
    {kSetup, 17,
     "Na tym komputerze jest już zainstalowana nowsza wersja programu %s (wersja %s).\n\n"
     "Instalator nie może zainstalować na niej starszej wersji %s. Aby używać tej wersji, "
     "najpierw odinstaluj nowszą."},

    {kError, 0,
     "Instalator nie mógł utworzyć okna potrzebnego do instalacji.\n\n"
     "Instalator zostanie teraz zamknięty."},
    {kError, 1,
     "Odmówiono dostępu, gdy instalator próbował odczytać ten plik:\n%s\n\n"
     "Czy pominąć ten plik i kontynuować?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 2,
     "Brak uprawnień do zmiany tego pliku:\n%s\n\nCzy pominąć ten plik i kontynuować?\n"
     "W przypadku kliknięcia przycisku Nie instalator zatrzyma się i usunie wszystko, co zostało "
     "dotąd zainstalowane."},
    {kError, 3,
     "Odmówiono dostępu, gdy instalator próbował otworzyć ten plik:\n%s\n\n"
     "Czy pominąć ten plik i kontynuować?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 4,
     "Instalator nie mógł otworzyć tego pliku do odczytu:\n%s\n\n"
     "%s\n\nCzy pominąć ten plik i kontynuować?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 5,
     "Instalator nie mógł otworzyć tego pliku w celu zastąpienia go:\n%s\n\n"
     "%s\n\nCzy pominąć ten plik i kontynuować?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 6,
     "Instalator nie mógł otworzyć tego pliku:\n%s\n\n"
     "%s\n\nCzy pominąć ten plik i kontynuować?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 7,
     "Odmówiono dostępu, gdy instalator próbował utworzyć ten plik:\n%s\n\n"
     "Czy pominąć ten plik i kontynuować?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 8,
     "Instalator nie mógł utworzyć pliku\n%s\nz powodu braku uprawnień do dodawania plików do "
     "folderu\n%s\n\nCzy pominąć ten plik i kontynuować?\nW przypadku kliknięcia przycisku Nie "
     "instalator zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 9,
     "Odmówiono dostępu, gdy instalator próbował utworzyć i otworzyć ten plik:\n"
     "%s\n\nCzy pominąć ten plik i kontynuować?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 10,
     "Instalator nie mógł utworzyć tego pliku do odczytu:\n%s\n\n"
     "%s\n\nCzy pominąć ten plik i kontynuować?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 11,
     "Instalator nie mógł utworzyć tego pliku:\n%s\n\n"
     "%s\n\nCzy pominąć ten plik i kontynuować?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 12,
     "Instalator nie mógł utworzyć i otworzyć tego pliku:\n%s\n\n"
     "%s\n\nCzy pominąć ten plik i kontynuować?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 13,
     "Następujący plik jest w użyciu. Instalator nie mógł utworzyć pliku tymczasowego\n"
     "potrzebnego do zastąpienia go po ponownym uruchomieniu komputera:\n%s\n\n"
     "%s\n\nCzy pominąć ten plik i kontynuować?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 14,
     "Na dysku brakuje miejsca na zapisanie tego pliku:\n%s\n\n"
     "Zwolnij miejsce na dysku, a następnie kliknij przycisk OK, aby spróbować ponownie.\n"
     "Kliknij przycisk Anuluj, aby zatrzymać instalator i usunąć wszystko, co zostało dotąd "
     "zainstalowane."},
    {kError, 15,
     "Instalator nie mógł zapisać tego pliku:\n%s\n\n"
     "%s\n\nCzy pominąć ten plik i kontynuować?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 16, "Instalator nie mógł odczytać tego pliku:\n%s"},
    {kError, 17, "Instalator nie mógł przenieść tego pliku:\n%s"},
    {kError, 18, "Instalator nie mógł odczytać atrybutów tego pliku:\n%s"},
    {kError, 19, "Instalator nie mógł ustawić atrybutów tego pliku:\n%s"},
    {kError, 20, "Instalator nie mógł ustalić rozmiaru tego pliku:\n%s"},
    {kError, 21,
     "Instalator nie mógł utworzyć tego folderu:\n%s\n\n"
     "%s\n\nCzy mimo to kontynuować instalację?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 22, "Instalator nie mógł załadować tego pliku do pamięci:\n%s"},
    {kError, 23, "Instalator nie mógł wczytać zawartości tego pliku do pamięci:\n%s"},
    {kError, 24,
     "Instalator nie mógł utworzyć tego klucza rejestru:\n%s\n\n"
     "%s\n\nCzy mimo to kontynuować instalację?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 25,
     "Instalator nie mógł zapisać wartości rejestru \"%s\" w kluczu\n%s\n\n"
     "%s\n\nCzy mimo to kontynuować instalację?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 26,
     "Brak uprawnień do wprowadzenia w rejestrze zmian, których potrzebuje instalator.\n\n"
     "Czy mimo to kontynuować instalację?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 27,
     "Instalator nie mógł utworzyć tego skrótu:\n%s\n\n"
     "Czy mimo to kontynuować instalację?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 28,
     "\nNie udało się zarejestrować tego składnika, więc niektóre funkcje mogą nie działać.\n\n"
     "Czy mimo to kontynuować instalację?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 29,
     "Instalator nie mógł ponownie uruchomić komputera.\n\n"
     "Uruchom go ponownie samodzielnie, aby zakończyć instalację."},
    {kError, 30,
     "Instalator nie mógł zarejestrować typu pliku %s.\n\n"
     "Czy mimo to kontynuować instalację?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 31, "Dysk folderu docelowego nie istnieje.\n\nWybierz inny folder."},
    {kError, 32,
     "Brak uprawnień do tworzenia plików w folderze docelowym.\n\n"
     "Wybierz inny folder."},
    {kError, 33,
     "Brak uprawnień do tworzenia folderów w lokalizacji\n%s\n\n"
     "Wybierz inny folder docelowy."},
    {kError, 34, "Brak uprawnień do używania dysku folderu docelowego.\n\nWybierz inny folder."},
    {kError, 35,
     "Instalator nie mógł utworzyć folderu\n%s\nz powodu braku uprawnień do tworzenia folderów w "
     "lokalizacji\n%s\n\nCzy mimo to kontynuować instalację?\nW przypadku kliknięcia przycisku "
     "Nie instalator zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 36,
     "Instalator nie mógł utworzyć folderu\n%s\nz powodu odmowy dostępu do folderu\n"
     "%s\n\nCzy mimo to kontynuować instalację?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 37,
     "Instalator nie mógł utworzyć folderu\n%s\nz powodu odmowy dostępu do dysku.\n\n"
     "Czy mimo to kontynuować instalację?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 38,
     "Instalator nie mógł utworzyć folderu\n%s\nz powodu braku uprawnień do tworzenia folderów "
     "na tym dysku.\n\nCzy mimo to kontynuować instalację?\nW przypadku kliknięcia przycisku Nie "
     "instalator zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 39,
     "Na dysku docelowym brakuje wolnego miejsca.\n\n"
     "Zwolnij miejsce lub wybierz inny folder."},
    {kError, 40,
     "Instalator nie mógł uruchomić tego pliku programu:\n%s\n\n"
     "%s\n\nCzy mimo to kontynuować instalację?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 41,
     "Ten plik programu zakończył działanie z kodem wyjścia oznaczającym błąd:\n"
     "%s\n\nKod wyjścia: %s\n\nCzy mimo to kontynuować instalację?\nW przypadku kliknięcia "
     "przycisku Nie instalator zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},
    {kError, 42,
     "Instalator nie mógł wywołać funkcji %s w pliku\n%s\n\n"
     "%s\n\nCzy mimo to kontynuować instalację?\nW przypadku kliknięcia przycisku Nie instalator "
     "zatrzyma się i usunie wszystko, co zostało dotąd zainstalowane."},

    {kButton, 0, "< &Wstecz"},
    {kButton, 1, "&Dalej >"},
    {kButton, 2, "Anuluj"},
    {kButton, 3, "&Zainstaluj"},
    {kButton, 4, "W&yjdź"},
    {kButton, 5, "&Tak"},
    {kButton, 6, "&Nie"},
    {kButton, 7, "&Przeglądaj..."},
    {kButton, 8, "&Zakończ"},
    {kButton, 9, "&Wyodrębnij"},
    {kButton, 10, "OK"},
};

}  // namespace

std::span<const BuiltinText> polishTexts() {
    return kTexts;
}

}  // namespace kelvara::build
