// Danish texts of the installer and the uninstaller.
#include "kelvara-build/languages/builtin_languages.h"

namespace kelvara::build {
namespace {

constexpr int kSetup = kTableSetupMessages;
constexpr int kError = kTableErrorMessages;
constexpr int kButton = kTableButtonLabels;
constexpr int kUn = kTableUninstaller;

constexpr BuiltinText kTexts[] = {
    {kPageLanguage, 0, "Installation af %ProductName%"},
    {kPageLanguage, 1, "Vælg sprog til installationen"},
    {kPageLanguage, 2, "Vælg det sprog, der skal bruges under installationen."},
    {kPageLanguage, 3, "&Sprog:"},

    {kPageWelcome, 0, "Installation af %ProductName%"},
    {kPageWelcome, 1, "Velkommen til installationen af %ProductName%"},
    {kPageWelcome, 2, "Denne guide installerer %ProductName% på computeren."},
    {kPageWelcome, 3, "Den fører dig gennem nogle få korte trin."},
    {kPageWelcome, 4, "Det anbefales, at du lukker alle andre programmer, før du fortsætter."},
    {kPageWelcome, 6, "Klik på Næste for at fortsætte eller Annuller for at afslutte."},
    {kPageWelcome, 7, "Velkommen til installationen"},

    {kPageLicense, 0, "Installation af %ProductName%"},
    {kPageLicense, 1, "Licensaftale"},
    {kPageLicense, 2, "Læs følgende &licensaftale."},
    {kPageLicense, 3, "Accepterer du betingelserne i denne licensaftale?"},

    {kPageReadme, 0, "Installation af %ProductName%"},
    {kPageReadme, 1, "Vigtige oplysninger"},
    {kPageReadme, 2, "Læs følgende vigtige &oplysninger."},

    {kPageComponents, 0, "Installation af %ProductName%"},
    {kPageComponents, 1, "Vælg komponenter"},
    {kPageComponents, 2, "Vælg, hvilke dele af %ProductName% der skal installeres."},
    {kPageComponents, 3, "&Installationstype:"},
    {kPageComponents, 4, "&Komponenter:"},
    {kPageComponents, 5, "Nødvendig plads:"},
    {kPageComponents, 6, "Ledig plads på drev %DISK%:"},
    {kPageComponents, 9, "Vælg en komponent for at se dens beskrivelse."},
    {kPageComponents, 14, "Beskrivelse"},

    {kPageScope, 0, "Installation af %ProductName%"},
    {kPageScope, 1, "Vælg brugere"},
    {kPageScope, 2, "Vælg, hvem %ProductName% skal installeres for."},
    {kPageScope, 3, "Installer for &alle brugere af denne computer"},
    {kPageScope, 4,
     "Alle, der bruger denne computer, kan bruge programmet. Det kræver administratorrettigheder."},
    {kPageScope, 5, "Installer kun for &mig"},
    {kPageScope, 6,
     "Kun du kan bruge programmet. Det placeres i dine egne mapper, og der kræves ikke "
     "administratorrettigheder."},

    {kPageDestination, 0, "Installation af %ProductName%"},
    {kPageDestination, 1, "Vælg installationsplacering"},
    {kPageDestination, 2,
     "%ProductName% installeres i følgende mappe. Hvis du vil bruge en anden mappe, skal du "
     "skrive stien eller klikke på Gennemse."},
    {kPageDestination, 3, "&Destinationsmappe"},
    {kPageDestination, 4, "Vælg den mappe, programmet skal installeres i:"},
    {kPageDestination, 5, "Nødvendig plads:"},
    {kPageDestination, 6, "Ledig plads på drev %DISK%:"},

    {kPageTasks, 0, "Installation af %ProductName%"},
    {kPageTasks, 1, "Yderligere opgaver"},
    {kPageTasks, 2, "Vælg, hvad der ellers skal gøres, og klik derefter på Næste."},
    {kPageTasks, 3, "Yderligere &opgaver:"},
    {kPageTasks, 9, "Vælg en opgave for at se dens beskrivelse."},

    {kPageStartMenu, 0, "Installation af %ProductName%"},
    {kPageStartMenu, 1, "Vælg mappe i menuen Start"},
    {kPageStartMenu, 2,
     "Installationsprogrammet tilføjer &genveje i mappen nedenfor i menuen Start. Skriv et nyt "
     "navn, eller vælg en eksisterende mappe."},
    {kPageStartMenu, 3, "Opret en &mappe i menuen Start"},
    {kPageStartMenu, 4, "Opret genveje på &skrivebordet"},
    {kPageStartMenu, 5, "Opret genveje på værktøjslinjen &Hurtig start"},

    {kPageReady, 0, "Installation af %ProductName%"},
    {kPageReady, 1, "Klar til at installere"},
    {kPageReady, 2, "%ProductName% er klar til at blive installeret på computeren."},
    {kPageReady, 3,
     "Klik på Installer for at begynde eller på Tilbage for at gennemse eller ændre "
     "indstillinger."},

    {kPageInstalling, 0, "Installation af %ProductName%"},
    {kPageInstalling, 1, "%ProductName% installeres"},
    {kPageInstalling, 2, "Vent, mens %ProductName% installeres på computeren."},
    {kPageInstalling, 3, "Klik på Annuller for at stoppe installationen."},
    {kPageInstalling, 4, "Kopierer filer..."},
    {kPageInstalling, 5, "Opretter genveje..."},
    {kPageInstalling, 6, "Opdaterer registreringsdatabasen..."},
    {kPageInstalling, 7, "Opdaterer indstillingsfiler..."},
    {kPageInstalling, 8, "Registrerer filtyper..."},
    {kPageInstalling, 13, "Afslutter installationen..."},

    {kPageFinish, 0, "Installation af %ProductName%"},
    {kPageFinish, 1, "Installationen er fuldført"},
    {kPageFinish, 2, "Installationen af %ProductName% er fuldført."},
    {kPageFinish, 3, "Du kan nu bruge %ProductName%. Klik på Udfør for at afslutte."},
    {kPageFinish, 4, "&Åbn dokumentationen"},
    {kPageFinish, 5, "&Start %ProductName% nu"},
    {kPageFinish, 6, "&Genstart computeren nu"},
    {kPageFinish, 7,
     "Nogle dele kunne ikke installeres. Meddelelserne, der blev vist under installationen, "
     "beskriver problemerne."},
    {kPageFinish, 8,
     "Windows skal genstartes for at fuldføre installationen. Genstart nu, eller fjern "
     "markeringen nedenfor for at genstarte senere."},
    {kPageFinish, 9, "Nogle filer var i brug. De erstattes, når computeren genstartes."},
    {kPageFinish, 10, "Computeren skal genstartes for at fuldføre installationen."},

    {kUn, 0, "Afinstallation af %s"},
    {kUn, 1, "Fjernelse af program"},
    {kUn, 2, "Vent, mens %s fjernes fra computeren."},
    {kUn, 3, "Er du sikker på, at du vil fjerne %s helt?"},
    {kUn, 4, "Afinstallationen er fuldført"},
    {kUn, 5, "%s er blevet fjernet fra computeren."},
    {kUn, 6,
     "%s er blevet fjernet fra computeren, men nogle af programmets poster kunne ikke fjernes."},
    {kUn, 7,
     "Afinstallationen er ikke fuldført.\nHvis du afslutter nu, bliver programmet ikke "
     "afinstalleret korrekt.\n\nEr du sikker på, at du vil afslutte?"},
    {kUn, 8, "Udfør"},
    {kUn, 10, "Annuller"},
    {kUn, 11,
     "Nogle mapper indeholder filer, som ikke blev oprettet af denne installation og ikke kan "
     "slettes automatisk. Marker afkrydsningsfeltet ud for hver fil eller mappe, du vil slette, "
     "og klik derefter på knappen 'Slet'."},
    {kUn, 12, "Marker &alle"},
    {kUn, 13, "&Slet"},
    {kUn, 14, "Er du sikker på, at du vil slette alle de markerede filer og mapper?"},
    {kUn, 15, "Bekræft handling"},
    {kUn, 16, "Sletter filer..."},
    {kUn, 17, "Sletter genveje i menuen Start..."},
    {kUn, 18, "Sletter poster i registreringsdatabasen..."},
    {kUn, 19, "Starter programmer..."},
    {kUn, 20, "Sletter nøgler i registreringsdatabasen..."},
    {kUn, 21, "Kalder DLL-funktioner..."},
    {kUn, 22, "Sletter delte filer..."},
    {kUn, 23, "Sletning af værdi i registreringsdatabasen"},
    {kUn, 24, "Fejl ved sletning af værdien '%s' i nøglen '%s' i registreringsdatabasen.\n%s"},
    {kUn, 25, "Sletning af nøgle i registreringsdatabasen"},
    {kUn, 26, "Fejl ved sletning af nøglen '%s' i registreringsdatabasen.\n%s"},
    {kUn, 27, "Afinstallationstrin"},
    {kUn, 28, "Dette trin i afinstallationen mislykkedes:\n%s\n\nAfinstallationen fortsætter."},
    {kUn, 29, "Sletning af fil"},
    {kUn, 30,
     "Filen %s\nbruges i øjeblikket af et andet program.\n"
     "Vil du prøve at slette filen igen i stedet for at genstarte computeren, når "
     "afinstallationen er færdig?"},
    {kUn, 31, "Delt fil fundet"},
    {kUn, 32,
     "Ifølge systemet bruges følgende delte fil ikke længere af noget program. Hvis et program "
     "alligevel bruger filen, og den fjernes, fungerer programmet muligvis ikke. Er du sikker "
     "på, at du vil fjerne den delte fil?\n\nFilnavn: "},
    {kUn, 33, "\nPlacering: "},
    {kUn, 34,
     "\n\nDet skader ikke systemet, hvis du beholder filen. Hvis du er i tvivl om, hvad du skal "
     "gøre, anbefales det, at du vælger ikke at fjerne denne delte komponent."},
    {kUn, 35,
     "Du har valgt at fjerne alle de delte komponenter, som ifølge systemet ikke længere bruges. "
     "Det kan betyde, at nogle programmer ikke fungerer, hvis de stadig har brug for nogle af "
     "disse filer. Er du sikker på, at du vil fortsætte?"},
    {kUn, 36,
     "Disse programmer bruger filer, der skal fjernes:\n\n%s\n\nVil du lukke dem nu?\n"
     "Hvis du klikker på Nej, kører de videre, og deres filer fjernes, når computeren genstartes."},
    {kUn, 37, "&Ja"},
    {kUn, 38, "Ja til &alle"},
    {kUn, 39, "&Nej"},
    {kUn, 40,
     "Computeren skal genstartes for at fuldføre afinstallationen.\n"
     "Nogle filer er i brug og kan kun slettes, når systemet genstartes.\n\n"
     "Vil du genstarte systemet nu?"},
    {kUn, 41,
     "Computeren kunne ikke genstartes.\n\nGenstart den selv for at fuldføre afinstallationen."},

    {kPageFilesInUse, 0, "Installation af %ProductName%"},
    {kPageFilesInUse, 1, "Programmer i brug"},
    {kPageFilesInUse, 2, "Kørende programmer bruger filer, der skal erstattes."},
    {kPageFilesInUse, 3,
     "Installationsprogrammet kan lukke programmerne nu og starte dem igen, når installationen "
     "er færdig:"},
    {kPageFilesInUse, 4, "&Luk dem automatisk, og start dem igen"},
    {kPageFilesInUse, 5, "Luk dem &ikke (genstart vil være nødvendig)"},

    {kSetup, 0,
     "Installationen er ikke fuldført. Hvis du afslutter nu, bliver programmet ikke "
     "installeret.\n\nVil du afslutte installationsprogrammet?"},
    {kSetup, 1,
     "Computeren skal genstartes for at fuldføre konfigurationen.\n\nVil du genstarte nu?"},
    {kSetup, 2,
     "Installationsmappen er ugyldig.\n\nAngiv den fulde sti til en mappe, inklusive drevet."},
    {kSetup, 3,
     "Destinationsmappen er ugyldig.\n\nAngiv den fulde sti til en mappe, inklusive drevet."},
    {kSetup, 4, "Vil du stoppe udpakningen af filerne?"},
    {kSetup, 5,
     "Nogle filer, som installationsprogrammet skulle erstatte, var i brug. De bliver erstattet, "
     "når computeren genstartes.\n\nVil du genstarte nu?"},
    {kSetup, 6,
     "Følgende fil bruges af et andet program:\n%s\n\n"
     "Vil du prøve igen? Luk først programmet, og klik derefter på Ja.\n"
     "Hvis du klikker på Nej, bliver filen erstattet, når computeren genstartes."},
    {kSetup, 7, "Følgende fil bruges af et andet program og kan ikke erstattes:\n%s"},
    {kSetup, 8,
     "Installationsprogrammet er stadig ved at installere programmet.\n"
     "Hvis du afslutter, før installationen er fuldført, bliver alt, hvad der er installeret "
     "indtil nu, fjernet.\n\nVil du afslutte installationsprogrammet?"},
    {kSetup, 9,
     "Installationen er fuldført, men nogle dele af programmet kunne ikke installeres.\n"
     "Meddelelserne, der blev vist under installationen, beskriver problemerne."},
    {kSetup, 10, "Genstart computeren, før du bruger %s."},
    {kSetup, 11,
     "Du skal have administratorrettigheder for at installere dette program.\n\n"
     "Log på som administrator, og kør installationsprogrammet igen."},
    {kSetup, 12,
     "Dette program kræver Windows NT, Windows 2000, Windows XP eller en nyere version af "
     "Windows."},
    {kSetup, 13,
     "Dette program kræver %s eller en nyere version.\n\nInstallationen kan ikke fortsætte."},
    {kSetup, 14, "Dette program kræver en 64-bit-version af Windows."},
    {kSetup, 15, "Dette program kræver en ARM64-version af Windows."},
    {kSetup, 16,
     "Disse programmer bruger filer, som installationsprogrammet skal erstatte:\n\n%s\n\n"
     "Skal installationsprogrammet lukke dem og starte dem igen bagefter?\n"
     "Hvis du klikker på Nej, kører de videre, og computeren skal genstartes for at fuldføre "
     "installationen."},
    {kSetup, 17,
     "En nyere version af %s er allerede installeret på denne computer (version %s).\n\n"
     "Installationsprogrammet kan ikke installere den ældre version %s oven i den. Hvis du vil "
     "bruge denne version, skal du først afinstallere den nyere."},

    {kError, 0,
     "Installationsprogrammet kunne ikke oprette det vindue, der skal bruges til "
     "installationen.\n\nInstallationsprogrammet lukkes nu."},
    {kError, 1,
     "Adgang blev nægtet, da installationsprogrammet forsøgte at læse denne fil:\n%s\n\n"
     "Vil du springe denne fil over og fortsætte?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 2,
     "Du har ikke tilladelse til at ændre denne fil:\n%s\n\n"
     "Vil du springe denne fil over og fortsætte?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 3,
     "Adgang blev nægtet, da installationsprogrammet forsøgte at åbne denne fil:\n%s\n\n"
     "Vil du springe denne fil over og fortsætte?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 4,
     "Installationsprogrammet kunne ikke åbne denne fil til læsning:\n%s\n\n%s\n\n"
     "Vil du springe denne fil over og fortsætte?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 5,
     "Installationsprogrammet kunne ikke åbne denne fil for at erstatte den:\n%s\n\n%s\n\n"
     "Vil du springe denne fil over og fortsætte?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 6,
     "Installationsprogrammet kunne ikke åbne denne fil:\n%s\n\n%s\n\n"
     "Vil du springe denne fil over og fortsætte?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 7,
     "Adgang blev nægtet, da installationsprogrammet forsøgte at oprette denne fil:\n%s\n\n"
     "Vil du springe denne fil over og fortsætte?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 8,
     "Installationsprogrammet kunne ikke oprette filen\n%s\n"
     "fordi du ikke har tilladelse til at tilføje filer i mappen\n%s\n\n"
     "Vil du springe denne fil over og fortsætte?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 9,
     "Adgang blev nægtet, da installationsprogrammet forsøgte at oprette og åbne denne fil:\n"
     "%s\n\nVil du springe denne fil over og fortsætte?\n"
     "Hvis du klikker på Nej, stopper installationsprogrammet og fjerner det, der er installeret "
     "indtil nu."},
    {kError, 10,
     "Installationsprogrammet kunne ikke oprette denne fil til læsning:\n%s\n\n%s\n\n"
     "Vil du springe denne fil over og fortsætte?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 11,
     "Installationsprogrammet kunne ikke oprette denne fil:\n%s\n\n%s\n\n"
     "Vil du springe denne fil over og fortsætte?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 12,
     "Installationsprogrammet kunne ikke oprette og åbne denne fil:\n%s\n\n%s\n\n"
     "Vil du springe denne fil over og fortsætte?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 13,
     "Følgende fil er i brug. Installationsprogrammet kunne ikke oprette den midlertidige fil,\n"
     "der skal bruges til at erstatte den, når computeren genstartes:\n%s\n\n%s\n\n"
     "Vil du springe denne fil over og fortsætte?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 14,
     "Der er ikke nok plads på disken til at skrive denne fil:\n%s\n\n"
     "Frigør diskplads, og klik derefter på OK for at prøve igen.\n"
     "Klik på Annuller for at stoppe installationsprogrammet og fjerne det, der er installeret "
     "indtil nu."},
    {kError, 15,
     "Installationsprogrammet kunne ikke skrive denne fil:\n%s\n\n%s\n\n"
     "Vil du springe denne fil over og fortsætte?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 16, "Installationsprogrammet kunne ikke læse denne fil:\n%s"},
    {kError, 17, "Installationsprogrammet kunne ikke flytte denne fil:\n%s"},
    {kError, 18, "Installationsprogrammet kunne ikke læse attributterne for denne fil:\n%s"},
    {kError, 19, "Installationsprogrammet kunne ikke angive attributterne for denne fil:\n%s"},
    {kError, 20, "Installationsprogrammet kunne ikke bestemme størrelsen på denne fil:\n%s"},
    {kError, 21,
     "Installationsprogrammet kunne ikke oprette denne mappe:\n%s\n\n%s\n\n"
     "Vil du fortsætte installationen alligevel?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 22, "Installationsprogrammet kunne ikke indlæse denne fil i hukommelsen:\n%s"},
    {kError, 23,
     "Installationsprogrammet kunne ikke læse indholdet af denne fil ind i hukommelsen:\n%s"},
    {kError, 24,
     "Installationsprogrammet kunne ikke oprette denne nøgle i registreringsdatabasen:\n%s\n\n"
     "%s\n\nVil du fortsætte installationen alligevel?\n"
     "Hvis du klikker på Nej, stopper installationsprogrammet og fjerner det, der er installeret "
     "indtil nu."},
    {kError, 25,
     "Installationsprogrammet kunne ikke skrive værdien \"%s\" i denne nøgle i "
     "registreringsdatabasen:\n%s\n\n%s\n\nVil du fortsætte installationen alligevel?\n"
     "Hvis du klikker på Nej, stopper installationsprogrammet og fjerner det, der er installeret "
     "indtil nu."},
    {kError, 26,
     "Du har ikke tilladelse til at foretage de ændringer i registreringsdatabasen, som "
     "installationsprogrammet skal bruge.\n\nVil du fortsætte installationen alligevel?\n"
     "Hvis du klikker på Nej, stopper installationsprogrammet og fjerner det, der er installeret "
     "indtil nu."},
    {kError, 27,
     "Installationsprogrammet kunne ikke oprette denne genvej:\n%s\n\n"
     "Vil du fortsætte installationen alligevel?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 28,
     "\nDenne komponent kunne ikke registreres, så nogle funktioner virker muligvis ikke.\n\n"
     "Vil du fortsætte installationen alligevel?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 29,
     "Installationsprogrammet kunne ikke genstarte computeren.\n\n"
     "Genstart den selv for at fuldføre installationen."},
    {kError, 30,
     "Installationsprogrammet kunne ikke registrere filtypen %s.\n\n"
     "Vil du fortsætte installationen alligevel?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 31, "Destinationsmappens drev findes ikke.\n\nVælg en anden mappe."},
    {kError, 32,
     "Du har ikke tilladelse til at oprette filer i destinationsmappen.\n\nVælg en anden mappe."},
    {kError, 33,
     "Du har ikke tilladelse til at oprette mapper i\n%s\n\nVælg en anden destinationsmappe."},
    {kError, 34,
     "Du har ikke tilladelse til at bruge destinationsmappens drev.\n\nVælg en anden mappe."},
    {kError, 35,
     "Installationsprogrammet kunne ikke oprette mappen\n%s\n"
     "fordi du ikke har tilladelse til at oprette mapper i\n%s\n\n"
     "Vil du fortsætte installationen alligevel?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 36,
     "Installationsprogrammet kunne ikke oprette mappen\n%s\nfordi adgangen til mappen\n%s\n"
     "blev nægtet.\n\nVil du fortsætte installationen alligevel?\n"
     "Hvis du klikker på Nej, stopper installationsprogrammet og fjerner det, der er installeret "
     "indtil nu."},
    {kError, 37,
     "Installationsprogrammet kunne ikke oprette mappen\n%s\n"
     "fordi adgangen til drevet blev nægtet.\n\nVil du fortsætte installationen alligevel?\n"
     "Hvis du klikker på Nej, stopper installationsprogrammet og fjerner det, der er installeret "
     "indtil nu."},
    {kError, 38,
     "Installationsprogrammet kunne ikke oprette mappen\n%s\n"
     "fordi du ikke har tilladelse til at oprette mapper på dette drev.\n\n"
     "Vil du fortsætte installationen alligevel?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 39,
     "Der er ikke nok ledig plads på destinationsdrevet.\n\n"
     "Frigør plads, eller vælg en anden mappe."},
    {kError, 40,
     "Installationsprogrammet kunne ikke køre denne programfil:\n%s\n\n%s\n\n"
     "Vil du fortsætte installationen alligevel?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},
    {kError, 41,
     "Denne programfil sluttede med en afslutningskode, der angiver, at den mislykkedes:\n%s\n\n"
     "Afslutningskode: %s\n\nVil du fortsætte installationen alligevel?\n"
     "Hvis du klikker på Nej, stopper installationsprogrammet og fjerner det, der er installeret "
     "indtil nu."},
    {kError, 42,
     "Installationsprogrammet kunne ikke kalde funktionen %s i filen\n%s\n\n%s\n\n"
     "Vil du fortsætte installationen alligevel?\nHvis du klikker på Nej, stopper "
     "installationsprogrammet og fjerner det, der er installeret indtil nu."},

    {kButton, 0, "< &Tilbage"},
    {kButton, 1, "&Næste >"},
    {kButton, 2, "Annuller"},
    {kButton, 3, "&Installer"},
    {kButton, 4, "&Afslut"},
    {kButton, 5, "&Ja"},
    {kButton, 6, "&Nej"},
    {kButton, 7, "&Gennemse..."},
    {kButton, 8, "&Udfør"},
    {kButton, 9, "&Udpak"},
    {kButton, 10, "OK"},
};

}  // namespace

std::span<const BuiltinText> danishTexts() {
    return kTexts;
}

}  // namespace kelvara::build
