// Swedish texts of the installer and the uninstaller.
#include "kelvara-build/languages/builtin_languages.h"

namespace kelvara::build {
namespace {

constexpr int kSetup = kTableSetupMessages;
constexpr int kError = kTableErrorMessages;
constexpr int kButton = kTableButtonLabels;
constexpr int kUn = kTableUninstaller;

constexpr BuiltinText kTexts[] = {
    {kPageLanguage, 0, "Installation av %ProductName%"},
    {kPageLanguage, 1, "Välj språk för installationen"},
    {kPageLanguage, 2, "Välj vilket språk som ska användas under installationen."},
    {kPageLanguage, 3, "&Språk:"},

    {kPageWelcome, 0, "Installation av %ProductName%"},
    {kPageWelcome, 1, "Välkommen till installationen av %ProductName%"},
    {kPageWelcome, 2, "Den här guiden installerar %ProductName% på datorn."},
    {kPageWelcome, 3, "Den leder dig igenom några korta steg."},
    {kPageWelcome, 4, "Vi rekommenderar att du stänger alla andra program innan du fortsätter."},
    {kPageWelcome, 6, "Klicka på Nästa för att fortsätta eller Avbryt för att avsluta."},
    {kPageWelcome, 7, "Välkommen till installationen"},

    {kPageLicense, 0, "Installation av %ProductName%"},
    {kPageLicense, 1, "Licensavtal"},
    {kPageLicense, 2, "Läs följande &licensavtal."},
    {kPageLicense, 3, "Godkänner du villkoren i det här licensavtalet?"},

    {kPageReadme, 0, "Installation av %ProductName%"},
    {kPageReadme, 1, "Viktig information"},
    {kPageReadme, 2, "Läs följande viktiga &information."},

    {kPageComponents, 0, "Installation av %ProductName%"},
    {kPageComponents, 1, "Välj komponenter"},
    {kPageComponents, 2, "Välj vilka delar av %ProductName% som ska installeras."},
    {kPageComponents, 3, "Installations&typ:"},
    {kPageComponents, 4, "&Komponenter:"},
    {kPageComponents, 5, "Utrymme som krävs:"},
    {kPageComponents, 6, "Tillgängligt utrymme på enhet %DISK%:"},
    {kPageComponents, 9, "Markera en komponent så visas dess beskrivning."},
    {kPageComponents, 14, "Beskrivning"},

    {kPageScope, 0, "Installation av %ProductName%"},
    {kPageScope, 1, "Välj användare"},
    {kPageScope, 2, "Välj för vilka användare %ProductName% ska installeras."},
    {kPageScope, 3, "Installera för &alla användare av den här datorn"},
    {kPageScope, 4,
     "Alla som använder datorn kan använda programmet. Installationsprogrammet behöver "
     "administratörsbehörighet för detta."},
    {kPageScope, 5, "Installera bara för &mig"},
    {kPageScope, 6,
     "Bara du kan använda programmet. Det hamnar i dina egna mappar och installationsprogrammet "
     "behöver ingen administratörsbehörighet."},

    {kPageDestination, 0, "Installation av %ProductName%"},
    {kPageDestination, 1, "Välj installationsplats"},
    {kPageDestination, 2,
     "%ProductName% installeras i följande mapp. Om du vill använda en annan mapp skriver du in "
     "sökvägen eller klickar på Bläddra."},
    {kPageDestination, 3, "&Målmapp"},
    {kPageDestination, 4, "Välj den mapp som programmet ska installeras i:"},
    {kPageDestination, 5, "Utrymme som krävs:"},
    {kPageDestination, 6, "Tillgängligt utrymme på enhet %DISK%:"},

    {kPageTasks, 0, "Installation av %ProductName%"},
    {kPageTasks, 1, "Ytterligare uppgifter"},
    {kPageTasks, 2, "Välj vad mer som ska göras och klicka sedan på Nästa."},
    {kPageTasks, 3, "Ytterligare &uppgifter:"},
    {kPageTasks, 9, "Markera en uppgift så visas dess beskrivning."},

    {kPageStartMenu, 0, "Installation av %ProductName%"},
    {kPageStartMenu, 1, "Välj mapp på Start-menyn"},
    {kPageStartMenu, 2,
     "Installationsprogrammet lägger till &genvägar i mappen nedan på Start-menyn. Skriv ett "
     "nytt namn eller välj en befintlig mapp."},
    {kPageStartMenu, 3, "Skapa en &mapp på Start-menyn"},
    {kPageStartMenu, 4, "Skapa genvägar på &skrivbordet"},
    {kPageStartMenu, 5, "Skapa genvägar i &verktygsfältet Snabbstart"},

    {kPageReady, 0, "Installation av %ProductName%"},
    {kPageReady, 1, "Klart att installera"},
    {kPageReady, 2, "Installationsprogrammet är klart att installera %ProductName% på datorn."},
    {kPageReady, 3,
     "Klicka på Installera för att börja eller på Bakåt för att granska eller ändra "
     "inställningar."},

    {kPageInstalling, 0, "Installation av %ProductName%"},
    {kPageInstalling, 1, "%ProductName% installeras"},
    {kPageInstalling, 2, "Vänta medan %ProductName% installeras på datorn."},
    {kPageInstalling, 3, "Klicka på Avbryt om du vill stoppa installationen."},
    {kPageInstalling, 4, "Filer kopieras..."},
    {kPageInstalling, 5, "Genvägar skapas..."},
    {kPageInstalling, 6, "Registret uppdateras..."},
    {kPageInstalling, 7, "Inställningsfiler uppdateras..."},
    {kPageInstalling, 8, "Filtyper registreras..."},
    {kPageInstalling, 13, "Installationen slutförs..."},

    {kPageFinish, 0, "Installation av %ProductName%"},
    {kPageFinish, 1, "Installationen är klar"},
    {kPageFinish, 2, "Installationen av %ProductName% är klar."},
    {kPageFinish, 3, "Nu kan du använda %ProductName%. Klicka på Slutför för att avsluta."},
    {kPageFinish, 4, "&Öppna dokumentationen"},
    {kPageFinish, 5, "&Kör %ProductName% nu"},
    {kPageFinish, 6, "Starta &om datorn nu"},
    {kPageFinish, 7,
     "Vissa delar kunde inte installeras. Meddelandena som visades under installationen "
     "beskriver problemen."},
    {kPageFinish, 8,
     "Windows måste startas om för att installationen ska slutföras. Starta om nu, eller "
     "avmarkera rutan nedan för att starta om senare."},
    {kPageFinish, 9,
     "Vissa filer användes. Installationsprogrammet ersätter dem när datorn startas om."},
    {kPageFinish, 10, "Datorn måste startas om för att installationen ska slutföras."},

    {kUn, 0, "Avinstallation av %s"},
    {kUn, 1, "Borttagning av program"},
    {kUn, 2, "Vänta medan %s tas bort från datorn."},
    {kUn, 3, "Är du säker på att du vill ta bort %s helt?"},
    {kUn, 4, "Avinstallationen är klar"},
    {kUn, 5, "%s har tagits bort från datorn."},
    {kUn, 6, "%s har tagits bort från datorn, men vissa av dess poster kunde inte tas bort."},
    {kUn, 7,
     "Avinstallationen är inte klar.\nOm du avslutar nu avinstalleras programmet inte "
     "fullständigt.\n\nÄr du säker på att du vill avsluta?"},
    {kUn, 8, "Slutför"},
    {kUn, 10, "Avbryt"},
    {kUn, 11,
     "Vissa mappar innehåller filer som inte skapades av den här installationen och som inte kan "
     "tas bort automatiskt. Markera kryssrutan vid varje fil eller mapp som du vill ta bort och "
     "klicka sedan på knappen 'Ta bort'."},
    {kUn, 12, "Markera &alla"},
    {kUn, 13, "&Ta bort"},
    {kUn, 14, "Är du säker på att du vill ta bort alla markerade filer och mappar?"},
    {kUn, 15, "Bekräfta åtgärd"},
    {kUn, 16, "Filer tas bort..."},
    {kUn, 17, "Genvägar på Start-menyn tas bort..."},
    {kUn, 18, "Registerposter tas bort..."},
    {kUn, 19, "Program startas..."},
    {kUn, 20, "Registernycklar tas bort..."},
    {kUn, 21, "DLL-funktioner anropas..."},
    {kUn, 22, "Delade filer tas bort..."},
    {kUn, 23, "Borttagning av registervärde"},
    {kUn, 24, "Det gick inte att ta bort registervärdet '%s' i nyckeln '%s'.\n%s"},
    {kUn, 25, "Borttagning av registernyckel"},
    {kUn, 26, "Det gick inte att ta bort registernyckeln '%s'.\n%s"},
    {kUn, 27, "Avinstallationssteg"},
    {kUn, 28,
     "Det här steget i avinstallationen misslyckades:\n%s\n\nAvinstallationen fortsätter."},
    {kUn, 29, "Borttagning av fil"},
    {kUn, 30,
     "Filen %s\nanvänds just nu av ett annat program.\n"
     "Vill du försöka ta bort filen igen, i stället för att datorn startas om när "
     "avinstallationen är klar?"},
    {kUn, 31, "Delad fil hittades"},
    {kUn, 32,
     "Enligt systemet används följande delade fil inte längre av något program. Om något program "
     "ändå använder filen och den tas bort, kanske programmet inte längre fungerar. Är du säker "
     "på att du vill ta bort den delade filen?\n\nFilnamn: "},
    {kUn, 33, "\nPlats: "},
    {kUn, 34,
     "\n\nDet skadar inte systemet om filen får ligga kvar. Om du är osäker på vad du ska göra "
     "rekommenderar vi att du väljer att inte ta bort den här delade komponenten."},
    {kUn, 35,
     "Du har valt att ta bort alla delade komponenter som enligt systemet inte längre används. "
     "Det kan leda till att vissa program slutar fungera om de fortfarande behöver någon av de "
     "här filerna. Är du säker på att du vill fortsätta?"},
    {kUn, 36,
     "De här programmen använder filer som måste tas bort:\n\n%s\n\nVill du stänga dem nu?\n"
     "Om du klickar på Nej fortsätter de att köras, och deras filer tas bort när datorn startas "
     "om."},
    {kUn, 37, "&Ja"},
    {kUn, 38, "Ja till &alla"},
    {kUn, 39, "&Nej"},
    {kUn, 40,
     "Datorn måste startas om för att avinstallationen ska slutföras.\n"
     "Vissa filer används och kan bara tas bort när systemet startas om.\n\n"
     "Vill du starta om systemet nu?"},
    {kUn, 41,
     "Datorn kunde inte startas om.\n\nStarta om datorn själv för att slutföra avinstallationen."},

    {kPageFilesInUse, 0, "Installation av %ProductName%"},
    {kPageFilesInUse, 1, "Program som används"},
    {kPageFilesInUse, 2, "Program som körs använder filer som måste ersättas."},
    {kPageFilesInUse, 3,
     "Installationsprogrammet kan stänga programmen nu och starta dem igen när installationen är "
     "klar:"},
    {kPageFilesInUse, 4, "&Stäng dem automatiskt och starta dem igen"},
    {kPageFilesInUse, 5, "Stäng dem &inte (datorn måste startas om)"},

    {kSetup, 0,
     "Installationen är inte klar. Om du avslutar nu installeras inte programmet.\n\n"
     "Vill du avsluta installationsprogrammet?"},
    {kSetup, 1,
     "Datorn måste startas om för att konfigurationen ska slutföras.\n\nVill du starta om nu?"},
    {kSetup, 2,
     "Installationsmappen är ogiltig.\n\nAnge den fullständiga sökvägen till en mapp, inklusive "
     "enhet."},
    {kSetup, 3,
     "Målmappen är ogiltig.\n\nAnge den fullständiga sökvägen till en mapp, inklusive enhet."},
    {kSetup, 4, "Vill du avbryta extraheringen av filerna?"},
    {kSetup, 5,
     "Vissa filer som installationsprogrammet skulle ersätta användes. De ersätts när datorn "
     "startas om.\n\nVill du starta om nu?"},
    {kSetup, 6,
     "Följande fil används av ett annat program:\n%s\n\n"
     "Vill du försöka igen? Stäng först programmet och klicka sedan på Ja.\n"
     "Om du klickar på Nej ersätts filen när datorn startas om."},
    {kSetup, 7, "Följande fil används av ett annat program och kan inte ersättas:\n%s"},
    {kSetup, 8,
     "Installationsprogrammet installerar fortfarande programmet.\n"
     "Om du avslutar innan installationen är klar tas allt som har installerats hittills "
     "bort.\n\nVill du avsluta installationsprogrammet?"},
    {kSetup, 9,
     "Installationen är klar, men vissa delar av programmet kunde inte installeras.\n"
     "Meddelandena som visades under installationen beskriver problemen."},
    {kSetup, 10, "Starta om datorn innan du använder %s."},
    {kSetup, 11,
     "Du måste ha administratörsbehörighet för att installera det här programmet.\n\n"
     "Logga in som administratör och kör installationsprogrammet igen."},
    {kSetup, 12,
     "Det här programmet kräver Windows NT, Windows 2000, Windows XP eller en senare version av "
     "Windows."},
    {kSetup, 13,
     "Det här programmet kräver %s eller en senare version.\n\nInstallationen kan inte fortsätta."},
    {kSetup, 14, "Det här programmet kräver en 64-bitarsversion av Windows."},
    {kSetup, 15, "Det här programmet kräver en ARM64-version av Windows."},
    {kSetup, 16,
     "De här programmen använder filer som installationsprogrammet måste ersätta:\n\n%s\n\n"
     "Vill du att installationsprogrammet stänger dem och startar dem igen efteråt?\n"
     "Om du klickar på Nej fortsätter de att köras, och datorn måste startas om för att "
     "installationen ska slutföras."},
    {kSetup, 17,
     "En nyare version av %s är redan installerad på den här datorn (version %s).\n\n"
     "Installationsprogrammet kan inte installera den äldre versionen %s över den. Om du vill "
     "använda den här versionen måste du först avinstallera den nyare."},

    {kError, 0,
     "Installationsprogrammet kunde inte skapa det fönster som behövs för installationen.\n\n"
     "Installationsprogrammet avslutas nu."},
    {kError, 1,
     "Åtkomst nekades när installationsprogrammet försökte läsa den här filen:\n%s\n\n"
     "Vill du hoppa över den här filen och fortsätta?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 2,
     "Du har inte behörighet att ändra den här filen:\n%s\n\n"
     "Vill du hoppa över den här filen och fortsätta?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 3,
     "Åtkomst nekades när installationsprogrammet försökte öppna den här filen:\n%s\n\n"
     "Vill du hoppa över den här filen och fortsätta?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 4,
     "Installationsprogrammet kunde inte öppna den här filen för läsning:\n%s\n\n%s\n\n"
     "Vill du hoppa över den här filen och fortsätta?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 5,
     "Installationsprogrammet kunde inte öppna den här filen för att ersätta den:\n%s\n\n%s\n\n"
     "Vill du hoppa över den här filen och fortsätta?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 6,
     "Installationsprogrammet kunde inte öppna den här filen:\n%s\n\n%s\n\n"
     "Vill du hoppa över den här filen och fortsätta?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 7,
     "Åtkomst nekades när installationsprogrammet försökte skapa den här filen:\n%s\n\n"
     "Vill du hoppa över den här filen och fortsätta?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 8,
     "Installationsprogrammet kunde inte skapa filen\n%s\n"
     "eftersom du inte har behörighet att lägga till filer i mappen\n%s\n\n"
     "Vill du hoppa över den här filen och fortsätta?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 9,
     "Åtkomst nekades när installationsprogrammet försökte skapa och öppna den här filen:\n%s\n\n"
     "Vill du hoppa över den här filen och fortsätta?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 10,
     "Installationsprogrammet kunde inte skapa den här filen för läsning:\n%s\n\n%s\n\n"
     "Vill du hoppa över den här filen och fortsätta?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 11,
     "Installationsprogrammet kunde inte skapa den här filen:\n%s\n\n%s\n\n"
     "Vill du hoppa över den här filen och fortsätta?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 12,
     "Installationsprogrammet kunde inte skapa och öppna den här filen:\n%s\n\n%s\n\n"
     "Vill du hoppa över den här filen och fortsätta?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 13,
     "Följande fil används. Installationsprogrammet kunde inte skapa den tillfälliga fil\n"
     "som behövs för att ersätta den när datorn startas om:\n%s\n\n%s\n\n"
     "Vill du hoppa över den här filen och fortsätta?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 14,
     "Det finns inte tillräckligt med utrymme på disken för att skriva den här filen:\n%s\n\n"
     "Frigör diskutrymme och klicka sedan på OK för att försöka igen.\n"
     "Klicka på Avbryt för att avbryta installationen och ta bort allt som har installerats "
     "hittills."},
    {kError, 15,
     "Installationsprogrammet kunde inte skriva den här filen:\n%s\n\n%s\n\n"
     "Vill du hoppa över den här filen och fortsätta?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 16, "Installationsprogrammet kunde inte läsa den här filen:\n%s"},
    {kError, 17, "Installationsprogrammet kunde inte flytta den här filen:\n%s"},
    {kError, 18, "Installationsprogrammet kunde inte läsa attributen för den här filen:\n%s"},
    {kError, 19, "Installationsprogrammet kunde inte ange attributen för den här filen:\n%s"},
    {kError, 20, "Installationsprogrammet kunde inte fastställa storleken på den här filen:\n%s"},
    {kError, 21,
     "Installationsprogrammet kunde inte skapa den här mappen:\n%s\n\n%s\n\n"
     "Vill du fortsätta installationen ändå?\nOm du klickar på Nej avbryts installationen och "
     "allt som har installerats hittills tas bort."},
    {kError, 22, "Installationsprogrammet kunde inte läsa in den här filen i minnet:\n%s"},
    {kError, 23,
     "Installationsprogrammet kunde inte läsa in innehållet i den här filen i minnet:\n%s"},
    {kError, 24,
     "Installationsprogrammet kunde inte skapa den här registernyckeln:\n%s\n\n%s\n\n"
     "Vill du fortsätta installationen ändå?\nOm du klickar på Nej avbryts installationen och "
     "allt som har installerats hittills tas bort."},
    {kError, 25,
     "Installationsprogrammet kunde inte skriva registervärdet \"%s\" i nyckeln\n%s\n\n%s\n\n"
     "Vill du fortsätta installationen ändå?\nOm du klickar på Nej avbryts installationen och "
     "allt som har installerats hittills tas bort."},
    {kError, 26,
     "Du har inte behörighet att göra de ändringar i registret som installationsprogrammet "
     "behöver.\n\nVill du fortsätta installationen ändå?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 27,
     "Installationsprogrammet kunde inte skapa den här genvägen:\n%s\n\n"
     "Vill du fortsätta installationen ändå?\nOm du klickar på Nej avbryts installationen och "
     "allt som har installerats hittills tas bort."},
    {kError, 28,
     "\nDen här komponenten kunde inte registreras, så vissa funktioner kanske inte fungerar.\n\n"
     "Vill du fortsätta installationen ändå?\nOm du klickar på Nej avbryts installationen och "
     "allt som har installerats hittills tas bort."},
    {kError, 29,
     "Installationsprogrammet kunde inte starta om datorn.\n\n"
     "Starta om datorn själv för att slutföra installationen."},
    {kError, 30,
     "Installationsprogrammet kunde inte registrera filtypen %s.\n\n"
     "Vill du fortsätta installationen ändå?\nOm du klickar på Nej avbryts installationen och "
     "allt som har installerats hittills tas bort."},
    {kError, 31, "Målmappens enhet finns inte.\n\nVälj en annan mapp."},
    {kError, 32, "Du har inte behörighet att skapa filer i målmappen.\n\nVälj en annan mapp."},
    {kError, 33, "Du har inte behörighet att skapa mappar i\n%s\n\nVälj en annan målmapp."},
    {kError, 34, "Du har inte behörighet att använda målmappens enhet.\n\nVälj en annan mapp."},
    {kError, 35,
     "Installationsprogrammet kunde inte skapa mappen\n%s\n"
     "eftersom du inte har behörighet att skapa mappar i\n%s\n\n"
     "Vill du fortsätta installationen ändå?\nOm du klickar på Nej avbryts installationen och "
     "allt som har installerats hittills tas bort."},
    {kError, 36,
     "Installationsprogrammet kunde inte skapa mappen\n%s\neftersom åtkomst till mappen\n%s\n"
     "nekades.\n\nVill du fortsätta installationen ändå?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 37,
     "Installationsprogrammet kunde inte skapa mappen\n%s\n"
     "eftersom åtkomst till enheten nekades.\n\nVill du fortsätta installationen ändå?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 38,
     "Installationsprogrammet kunde inte skapa mappen\n%s\n"
     "eftersom du inte har behörighet att skapa mappar på den här enheten.\n\n"
     "Vill du fortsätta installationen ändå?\nOm du klickar på Nej avbryts installationen och "
     "allt som har installerats hittills tas bort."},
    {kError, 39,
     "Det finns inte tillräckligt med ledigt utrymme på målenheten.\n\n"
     "Frigör utrymme eller välj en annan mapp."},
    {kError, 40,
     "Installationsprogrammet kunde inte köra den här programfilen:\n%s\n\n%s\n\n"
     "Vill du fortsätta installationen ändå?\nOm du klickar på Nej avbryts installationen och "
     "allt som har installerats hittills tas bort."},
    {kError, 41,
     "Den här programfilen avslutades med en slutkod som anger att den misslyckades:\n%s\n\n"
     "Slutkod: %s\n\nVill du fortsätta installationen ändå?\n"
     "Om du klickar på Nej avbryts installationen och allt som har installerats hittills tas "
     "bort."},
    {kError, 42,
     "Installationsprogrammet kunde inte anropa funktionen %s i filen\n%s\n\n%s\n\n"
     "Vill du fortsätta installationen ändå?\nOm du klickar på Nej avbryts installationen och "
     "allt som har installerats hittills tas bort."},

    {kButton, 0, "< &Bakåt"},
    {kButton, 1, "&Nästa >"},
    {kButton, 2, "Avbryt"},
    {kButton, 3, "&Installera"},
    {kButton, 4, "&Avsluta"},
    {kButton, 5, "&Ja"},
    {kButton, 6, "&Nej"},
    {kButton, 7, "B&läddra..."},
    {kButton, 8, "&Slutför"},
    {kButton, 9, "&Extrahera"},
    {kButton, 10, "OK"},
};

}  // namespace

std::span<const BuiltinText> swedishTexts() {
    return kTexts;
}

}  // namespace kelvara::build
