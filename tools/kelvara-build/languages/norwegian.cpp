// Norwegian (Bokmål) texts of the installer and the uninstaller.
#include "kelvara-build/languages/builtin_languages.h"

namespace kelvara::build {
namespace {

constexpr int kSetup = kTableSetupMessages;
constexpr int kError = kTableErrorMessages;
constexpr int kButton = kTableButtonLabels;
constexpr int kUn = kTableUninstaller;

constexpr BuiltinText kTexts[] = {
    {kPageLanguage, 0, "Installasjon av %ProductName%"},
    {kPageLanguage, 1, "Velg språk for installasjonen"},
    {kPageLanguage, 2, "Velg språket som skal brukes under installasjonen."},
    {kPageLanguage, 3, "&Språk:"},

    {kPageWelcome, 0, "Installasjon av %ProductName%"},
    {kPageWelcome, 1, "Velkommen til installasjonen av %ProductName%"},
    {kPageWelcome, 2, "Denne veiviseren installerer %ProductName% på datamaskinen."},
    {kPageWelcome, 3, "Den leder deg gjennom noen få korte trinn."},
    {kPageWelcome, 4, "Vi anbefaler at du lukker alle andre programmer før du fortsetter."},
    {kPageWelcome, 6, "Klikk Neste for å fortsette, eller Avbryt for å avslutte."},
    {kPageWelcome, 7, "Velkommen til installasjonen"},

    {kPageLicense, 0, "Installasjon av %ProductName%"},
    {kPageLicense, 1, "Lisensavtale"},
    {kPageLicense, 2, "Les følgende &lisensavtale."},
    {kPageLicense, 3, "Godtar du vilkårene i denne lisensavtalen?"},

    {kPageReadme, 0, "Installasjon av %ProductName%"},
    {kPageReadme, 1, "Viktig informasjon"},
    {kPageReadme, 2, "Les følgende viktige &informasjon."},

    {kPageComponents, 0, "Installasjon av %ProductName%"},
    {kPageComponents, 1, "Velg komponenter"},
    {kPageComponents, 2, "Velg hvilke deler av %ProductName% som skal installeres."},
    {kPageComponents, 3, "&Installasjonstype:"},
    {kPageComponents, 4, "&Komponenter:"},
    {kPageComponents, 5, "Nødvendig plass:"},
    {kPageComponents, 6, "Ledig plass på stasjon %DISK%:"},
    {kPageComponents, 9, "Velg en komponent for å se beskrivelsen av den."},
    {kPageComponents, 14, "Beskrivelse"},

    {kPageScope, 0, "Installasjon av %ProductName%"},
    {kPageScope, 1, "Velg brukere"},
    {kPageScope, 2, "Velg hvem %ProductName% skal installeres for."},
    {kPageScope, 3, "Installer for &alle brukere av denne datamaskinen"},
    {kPageScope, 4,
     "Alle som bruker denne datamaskinen, kan bruke programmet. Dette krever "
     "administratorrettigheter."},
    {kPageScope, 5, "Installer bare for &meg"},
    {kPageScope, 6,
     "Bare du kan bruke programmet. Det legges i dine egne mapper, og det kreves ikke "
     "administratorrettigheter."},

    {kPageDestination, 0, "Installasjon av %ProductName%"},
    {kPageDestination, 1, "Velg installasjonsplassering"},
    {kPageDestination, 2,
     "%ProductName% installeres i følgende mappe. Hvis du vil bruke en annen mappe, skriver du "
     "inn banen eller klikker Endre."},
    {kPageDestination, 3, "&Målmappe"},
    {kPageDestination, 4, "Velg mappen programmet skal installeres i:"},
    {kPageDestination, 5, "Nødvendig plass:"},
    {kPageDestination, 6, "Ledig plass på stasjon %DISK%:"},

    {kPageTasks, 0, "Installasjon av %ProductName%"},
    {kPageTasks, 1, "Tilleggsoppgaver"},
    {kPageTasks, 2, "Velg hva mer som skal gjøres, og klikk deretter Neste."},
    {kPageTasks, 3, "Tilleggs&oppgaver:"},
    {kPageTasks, 9, "Velg en oppgave for å se beskrivelsen av den."},

    {kPageStartMenu, 0, "Installasjon av %ProductName%"},
    {kPageStartMenu, 1, "Velg mappe på Start-menyen"},
    {kPageStartMenu, 2,
     "Snarveiene legges i &mappen nedenfor på Start-menyen. Skriv inn et nytt navn, eller velg "
     "en eksisterende mappe."},
    {kPageStartMenu, 3, "&Opprett en mappe på Start-menyen"},
    {kPageStartMenu, 4, "Opprett snarveier på &skrivebordet"},
    {kPageStartMenu, 5, "Opprett snarveier på verktøylinjen &Hurtigstart"},

    {kPageReady, 0, "Installasjon av %ProductName%"},
    {kPageReady, 1, "Klar til å installere"},
    {kPageReady, 2, "%ProductName% er klar til å installeres på datamaskinen."},
    {kPageReady, 3,
     "Klikk Installer for å begynne, eller Tilbake for å se gjennom eller endre innstillinger."},

    {kPageInstalling, 0, "Installasjon av %ProductName%"},
    {kPageInstalling, 1, "%ProductName% installeres"},
    {kPageInstalling, 2, "Vent mens %ProductName% installeres på datamaskinen."},
    {kPageInstalling, 3, "Klikk Avbryt for å stoppe installasjonen."},
    {kPageInstalling, 4, "Kopierer filer..."},
    {kPageInstalling, 5, "Oppretter snarveier..."},
    {kPageInstalling, 6, "Oppdaterer registeret..."},
    {kPageInstalling, 7, "Oppdaterer innstillingsfiler..."},
    {kPageInstalling, 8, "Registrerer filtyper..."},
    {kPageInstalling, 13, "Fullfører installasjonen..."},

    {kPageFinish, 0, "Installasjon av %ProductName%"},
    {kPageFinish, 1, "Installasjonen er fullført"},
    {kPageFinish, 2, "Installasjonen av %ProductName% er fullført."},
    {kPageFinish, 3, "Du kan nå bruke %ProductName%. Klikk Fullfør for å avslutte."},
    {kPageFinish, 4, "&Åpne dokumentasjonen"},
    {kPageFinish, 5, "&Start %ProductName% nå"},
    {kPageFinish, 6, "Sta&rt datamaskinen på nytt nå"},
    {kPageFinish, 7,
     "Noen deler kunne ikke installeres. Meldingene som ble vist under installasjonen, beskriver "
     "problemene."},
    {kPageFinish, 8,
     "Windows må startes på nytt for å fullføre installasjonen. Start på nytt nå, eller fjern "
     "merket nedenfor for å starte på nytt senere."},
    {kPageFinish, 9, "Noen filer var i bruk. De erstattes når datamaskinen startes på nytt."},
    {kPageFinish, 10, "Datamaskinen må startes på nytt for å fullføre installasjonen."},

    {kUn, 0, "Avinstallering av %s"},
    {kUn, 1, "Fjerning av program"},
    {kUn, 2, "Vent mens %s fjernes fra datamaskinen."},
    {kUn, 3, "Er du sikker på at du vil fjerne %s fullstendig?"},
    {kUn, 4, "Avinstalleringen er fullført"},
    {kUn, 5, "%s er fjernet fra datamaskinen."},
    {kUn, 6, "%s er fjernet fra datamaskinen, men noen av oppføringene kunne ikke fjernes."},
    {kUn, 7,
     "Avinstalleringen er ikke fullført.\nHvis du avslutter nå, blir ikke programmet "
     "avinstallert riktig.\n\nEr du sikker på at du vil avslutte?"},
    {kUn, 8, "Fullfør"},
    {kUn, 10, "Avbryt"},
    {kUn, 11,
     "Noen mapper inneholder filer som ikke ble opprettet av denne installasjonen, og som ikke "
     "kan slettes automatisk. Merk av for hver fil eller mappe du vil slette, og klikk deretter "
     "knappen 'Slett'."},
    {kUn, 12, "Merk &alle"},
    {kUn, 13, "&Slett"},
    {kUn, 14, "Er du sikker på at du vil slette alle de valgte filene og mappene?"},
    {kUn, 15, "Bekreft handling"},
    {kUn, 16, "Sletter filer..."},
    {kUn, 17, "Sletter snarveier på Start-menyen..."},
    {kUn, 18, "Sletter registeroppføringer..."},
    {kUn, 19, "Starter programmer..."},
    {kUn, 20, "Sletter registernøkler..."},
    {kUn, 21, "Kaller DLL-funksjoner..."},
    {kUn, 22, "Sletter delte filer..."},
    {kUn, 23, "Sletting av registerverdi"},
    {kUn, 24, "Feil ved sletting av registerverdien '%s' i nøkkelen '%s'.\n%s"},
    {kUn, 25, "Sletting av registernøkkel"},
    {kUn, 26, "Feil ved sletting av registernøkkelen '%s'.\n%s"},
    {kUn, 27, "Avinstalleringstrinn"},
    {kUn, 28, "Dette trinnet i avinstalleringen mislyktes:\n%s\n\nAvinstalleringen fortsetter."},
    {kUn, 29, "Sletting av fil"},
    {kUn, 30,
     "Filen %s\nbrukes for øyeblikket av et annet program.\n"
     "Vil du prøve å slette filen på nytt, i stedet for at datamaskinen startes på nytt når "
     "avinstalleringen er ferdig?"},
    {kUn, 31, "Delt fil funnet"},
    {kUn, 32,
     "Ifølge systemet brukes ikke følgende delte fil lenger av noen programmer. Hvis et program "
     "likevel bruker filen og den fjernes, kan det hende at programmet ikke virker. Er du sikker "
     "på at du vil fjerne den delte filen?\n\nFilnavn: "},
    {kUn, 33, "\nPlassering: "},
    {kUn, 34,
     "\n\nDet skader ikke systemet om du lar denne filen være. Hvis du er usikker på hva du skal "
     "gjøre, anbefales det at du velger ikke å fjerne denne delte komponenten."},
    {kUn, 35,
     "Du har valgt å fjerne alle de delte komponentene som ifølge systemet ikke lenger er i "
     "bruk. Dette kan føre til at noen programmer ikke virker hvis de fortsatt trenger noen av "
     "disse filene. Er du sikker på at du vil fortsette?"},
    {kUn, 36,
     "Disse programmene bruker filer som må fjernes:\n\n%s\n\nVil du lukke dem nå?\n"
     "Hvis du klikker Nei, fortsetter de å kjøre, og filene deres fjernes når datamaskinen "
     "startes på nytt."},
    {kUn, 37, "&Ja"},
    {kUn, 38, "Ja til &alle"},
    {kUn, 39, "&Nei"},
    {kUn, 40,
     "Datamaskinen må startes på nytt for å fullføre avinstalleringen.\n"
     "Noen filer er i bruk og kan bare slettes når systemet startes på nytt.\n\n"
     "Vil du starte systemet på nytt nå?"},
    {kUn, 41,
     "Datamaskinen kunne ikke startes på nytt.\n\nStart den på nytt selv for å fullføre "
     "avinstalleringen."},

    {kPageFilesInUse, 0, "Installasjon av %ProductName%"},
    {kPageFilesInUse, 1, "Programmer i bruk"},
    {kPageFilesInUse, 2, "Programmer som kjører, bruker filer som må erstattes."},
    {kPageFilesInUse, 3,
     "Installasjonsprogrammet kan lukke programmene nå og starte dem igjen når installasjonen er "
     "ferdig:"},
    {kPageFilesInUse, 4, "&Lukk dem automatisk og start dem igjen"},
    {kPageFilesInUse, 5, "&Ikke lukk dem (omstart blir nødvendig)"},

    {kSetup, 0,
     "Installasjonen er ikke fullført. Hvis du avslutter nå, blir ikke programmet installert.\n\n"
     "Vil du avslutte installasjonsprogrammet?"},
    {kSetup, 1,
     "Datamaskinen må startes på nytt for å fullføre konfigurasjonen.\n\n"
     "Vil du starte på nytt nå?"},
    {kSetup, 2,
     "Installasjonsmappen er ugyldig.\n\nSkriv inn den fullstendige banen til en mappe, "
     "inkludert stasjonen."},
    {kSetup, 3,
     "Målmappen er ugyldig.\n\nSkriv inn den fullstendige banen til en mappe, inkludert "
     "stasjonen."},
    {kSetup, 4, "Vil du stoppe utpakkingen av filene?"},
    {kSetup, 5,
     "Noen filer som installasjonsprogrammet måtte erstatte, var i bruk. De blir erstattet når "
     "datamaskinen startes på nytt.\n\nVil du starte på nytt nå?"},
    {kSetup, 6,
     "Følgende fil brukes av et annet program:\n%s\n\n"
     "Vil du prøve igjen? Lukk programmet først, og klikk deretter Ja.\n"
     "Hvis du klikker Nei, blir filen erstattet når datamaskinen startes på nytt."},
    {kSetup, 7, "Følgende fil brukes av et annet program og kan ikke erstattes:\n%s"},
    {kSetup, 8,
     "Installasjonsprogrammet installerer fortsatt programmet.\n"
     "Hvis du avslutter før installasjonen er fullført, fjernes alt som er installert så "
     "langt.\n\nVil du avslutte installasjonsprogrammet?"},
    {kSetup, 9,
     "Installasjonen er fullført, men noen deler av programmet kunne ikke installeres.\n"
     "Meldingene som ble vist under installasjonen, beskriver problemene."},
    {kSetup, 10, "Start datamaskinen på nytt før du bruker %s."},
    {kSetup, 11,
     "Du må ha administratorrettigheter for å installere dette programmet.\n\n"
     "Logg på som administrator, og kjør installasjonsprogrammet på nytt."},
    {kSetup, 12,
     "Dette programmet krever Windows NT, Windows 2000, Windows XP eller en nyere versjon av "
     "Windows."},
    {kSetup, 13,
     "Dette programmet krever %s eller en nyere versjon.\n\nInstallasjonen kan ikke fortsette."},
    {kSetup, 14, "Dette programmet krever en 64-biters versjon av Windows."},
    {kSetup, 15, "Dette programmet krever en ARM64-versjon av Windows."},
    {kSetup, 16,
     "Disse programmene bruker filer som installasjonsprogrammet må erstatte:\n\n%s\n\n"
     "Vil du at installasjonsprogrammet skal lukke dem og starte dem igjen etterpå?\n"
     "Hvis du klikker Nei, fortsetter de å kjøre, og datamaskinen må startes på nytt for å "
     "fullføre installasjonen."},
    {kSetup, 17,
     "En nyere versjon av %s er allerede installert på denne datamaskinen (versjon %s).\n\n"
     "Installasjonsprogrammet kan ikke installere den eldre versjonen %s over den. Hvis du vil "
     "bruke denne versjonen, må du først avinstallere den nyere."},

    {kError, 0,
     "Installasjonsprogrammet kunne ikke opprette vinduet som trengs for installasjonen.\n\n"
     "Installasjonsprogrammet avsluttes nå."},
    {kError, 1,
     "Tilgang ble nektet da installasjonsprogrammet prøvde å lese denne filen:\n%s\n\n"
     "Vil du hoppe over denne filen og fortsette?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 2,
     "Du har ikke tillatelse til å endre denne filen:\n%s\n\n"
     "Vil du hoppe over denne filen og fortsette?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 3,
     "Tilgang ble nektet da installasjonsprogrammet prøvde å åpne denne filen:\n%s\n\n"
     "Vil du hoppe over denne filen og fortsette?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 4,
     "Installasjonsprogrammet kunne ikke åpne denne filen for lesing:\n%s\n\n%s\n\n"
     "Vil du hoppe over denne filen og fortsette?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 5,
     "Installasjonsprogrammet kunne ikke åpne denne filen for å erstatte den:\n%s\n\n%s\n\n"
     "Vil du hoppe over denne filen og fortsette?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 6,
     "Installasjonsprogrammet kunne ikke åpne denne filen:\n%s\n\n%s\n\n"
     "Vil du hoppe over denne filen og fortsette?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 7,
     "Tilgang ble nektet da installasjonsprogrammet prøvde å opprette denne filen:\n%s\n\n"
     "Vil du hoppe over denne filen og fortsette?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 8,
     "Installasjonsprogrammet kunne ikke opprette filen\n%s\n"
     "fordi du ikke har tillatelse til å legge til filer i mappen\n%s\n\n"
     "Vil du hoppe over denne filen og fortsette?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 9,
     "Tilgang ble nektet da installasjonsprogrammet prøvde å opprette og åpne denne filen:\n"
     "%s\n\nVil du hoppe over denne filen og fortsette?\n"
     "Hvis du klikker Nei, stopper installasjonsprogrammet og fjerner det som er installert så "
     "langt."},
    {kError, 10,
     "Installasjonsprogrammet kunne ikke opprette denne filen for lesing:\n%s\n\n%s\n\n"
     "Vil du hoppe over denne filen og fortsette?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 11,
     "Installasjonsprogrammet kunne ikke opprette denne filen:\n%s\n\n%s\n\n"
     "Vil du hoppe over denne filen og fortsette?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 12,
     "Installasjonsprogrammet kunne ikke opprette og åpne denne filen:\n%s\n\n%s\n\n"
     "Vil du hoppe over denne filen og fortsette?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 13,
     "Følgende fil er i bruk. Installasjonsprogrammet kunne ikke opprette den midlertidige "
     "filen\nsom trengs for å erstatte den når datamaskinen startes på nytt:\n%s\n\n%s\n\n"
     "Vil du hoppe over denne filen og fortsette?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 14,
     "Det er ikke nok plass på disken til å skrive denne filen:\n%s\n\n"
     "Frigjør diskplass, og klikk deretter OK for å prøve igjen.\n"
     "Klikk Avbryt for å stoppe installasjonsprogrammet og fjerne det som er installert så langt."},
    {kError, 15,
     "Installasjonsprogrammet kunne ikke skrive denne filen:\n%s\n\n%s\n\n"
     "Vil du hoppe over denne filen og fortsette?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 16, "Installasjonsprogrammet kunne ikke lese denne filen:\n%s"},
    {kError, 17, "Installasjonsprogrammet kunne ikke flytte denne filen:\n%s"},
    {kError, 18, "Installasjonsprogrammet kunne ikke lese attributtene til denne filen:\n%s"},
    {kError, 19, "Installasjonsprogrammet kunne ikke angi attributtene til denne filen:\n%s"},
    {kError, 20, "Installasjonsprogrammet kunne ikke fastslå størrelsen på denne filen:\n%s"},
    {kError, 21,
     "Installasjonsprogrammet kunne ikke opprette denne mappen:\n%s\n\n%s\n\n"
     "Vil du fortsette installasjonen likevel?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 22, "Installasjonsprogrammet kunne ikke laste inn denne filen i minnet:\n%s"},
    {kError, 23,
     "Installasjonsprogrammet kunne ikke lese innholdet i denne filen inn i minnet:\n%s"},
    {kError, 24,
     "Installasjonsprogrammet kunne ikke opprette denne registernøkkelen:\n%s\n\n%s\n\n"
     "Vil du fortsette installasjonen likevel?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 25,
     "Installasjonsprogrammet kunne ikke skrive registerverdien \"%s\" i nøkkelen\n%s\n\n%s\n\n"
     "Vil du fortsette installasjonen likevel?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 26,
     "Du har ikke tillatelse til å gjøre endringene som installasjonsprogrammet trenger i "
     "registeret.\n\nVil du fortsette installasjonen likevel?\n"
     "Hvis du klikker Nei, stopper installasjonsprogrammet og fjerner det som er installert så "
     "langt."},
    {kError, 27,
     "Installasjonsprogrammet kunne ikke opprette denne snarveien:\n%s\n\n"
     "Vil du fortsette installasjonen likevel?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 28,
     "\nDenne komponenten kunne ikke registreres, så noen funksjoner virker kanskje ikke.\n\n"
     "Vil du fortsette installasjonen likevel?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 29,
     "Installasjonsprogrammet kunne ikke starte datamaskinen på nytt.\n\n"
     "Start den på nytt selv for å fullføre installasjonen."},
    {kError, 30,
     "Installasjonsprogrammet kunne ikke registrere filtypen %s.\n\n"
     "Vil du fortsette installasjonen likevel?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 31, "Stasjonen for målmappen finnes ikke.\n\nVelg en annen mappe."},
    {kError, 32,
     "Du har ikke tillatelse til å opprette filer i målmappen.\n\nVelg en annen mappe."},
    {kError, 33, "Du har ikke tillatelse til å opprette mapper i\n%s\n\nVelg en annen målmappe."},
    {kError, 34,
     "Du har ikke tillatelse til å bruke stasjonen for målmappen.\n\nVelg en annen mappe."},
    {kError, 35,
     "Installasjonsprogrammet kunne ikke opprette mappen\n%s\n"
     "fordi du ikke har tillatelse til å opprette mapper i\n%s\n\n"
     "Vil du fortsette installasjonen likevel?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 36,
     "Installasjonsprogrammet kunne ikke opprette mappen\n%s\nfordi tilgang til mappen\n%s\n"
     "ble nektet.\n\nVil du fortsette installasjonen likevel?\n"
     "Hvis du klikker Nei, stopper installasjonsprogrammet og fjerner det som er installert så "
     "langt."},
    {kError, 37,
     "Installasjonsprogrammet kunne ikke opprette mappen\n%s\n"
     "fordi tilgang til stasjonen ble nektet.\n\nVil du fortsette installasjonen likevel?\n"
     "Hvis du klikker Nei, stopper installasjonsprogrammet og fjerner det som er installert så "
     "langt."},
    {kError, 38,
     "Installasjonsprogrammet kunne ikke opprette mappen\n%s\n"
     "fordi du ikke har tillatelse til å opprette mapper på denne stasjonen.\n\n"
     "Vil du fortsette installasjonen likevel?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 39,
     "Det er ikke nok ledig plass på målstasjonen.\n\nFrigjør plass, eller velg en annen mappe."},
    {kError, 40,
     "Installasjonsprogrammet kunne ikke kjøre denne programfilen:\n%s\n\n%s\n\n"
     "Vil du fortsette installasjonen likevel?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},
    {kError, 41,
     "Denne programfilen ble avsluttet med en avslutningskode som viser at den mislyktes:\n%s\n\n"
     "Avslutningskode: %s\n\nVil du fortsette installasjonen likevel?\n"
     "Hvis du klikker Nei, stopper installasjonsprogrammet og fjerner det som er installert så "
     "langt."},
    {kError, 42,
     "Installasjonsprogrammet kunne ikke kalle funksjonen %s i filen\n%s\n\n%s\n\n"
     "Vil du fortsette installasjonen likevel?\nHvis du klikker Nei, stopper "
     "installasjonsprogrammet og fjerner det som er installert så langt."},

    {kButton, 0, "< &Tilbake"},
    {kButton, 1, "&Neste >"},
    {kButton, 2, "Avbryt"},
    {kButton, 3, "&Installer"},
    {kButton, 4, "&Avslutt"},
    {kButton, 5, "&Ja"},
    {kButton, 6, "&Nei"},
    {kButton, 7, "&Endre..."},
    {kButton, 8, "&Fullfør"},
    {kButton, 9, "&Pakk ut"},
    {kButton, 10, "OK"},
};

}  // namespace

std::span<const BuiltinText> norwegianTexts() {
    return kTexts;
}

}  // namespace kelvara::build
