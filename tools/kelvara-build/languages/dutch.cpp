// Dutch texts of the installer and the uninstaller.
#include "kelvara-build/languages/builtin_languages.h"

namespace kelvara::build {
namespace {

constexpr int kSetup = kTableSetupMessages;
constexpr int kError = kTableErrorMessages;
constexpr int kButton = kTableButtonLabels;
constexpr int kUn = kTableUninstaller;

constexpr BuiltinText kTexts[] = {
    {kPageLanguage, 0, "Installatie van %ProductName%"},
    {kPageLanguage, 1, "Installatietaal selecteren"},
    {kPageLanguage, 2, "Kies de taal die u tijdens de installatie wilt gebruiken."},
    {kPageLanguage, 3, "&Taal:"},

    {kPageWelcome, 0, "Installatie van %ProductName%"},
    {kPageWelcome, 1, "Welkom bij de installatie van %ProductName%"},
    {kPageWelcome, 2, "Deze wizard installeert %ProductName% op uw computer."},
    {kPageWelcome, 3, "De wizard leidt u door enkele korte stappen."},
    {kPageWelcome, 4,
     "Het wordt aanbevolen alle andere programma's te sluiten voordat u doorgaat."},
    {kPageWelcome, 6, "Klik op Volgende om door te gaan of op Annuleren om af te sluiten."},
    {kPageWelcome, 7, "Welkom bij de installatie"},

    {kPageLicense, 0, "Installatie van %ProductName%"},
    {kPageLicense, 1, "Licentieovereenkomst"},
    {kPageLicense, 2, "Lees de volgende &licentieovereenkomst."},
    {kPageLicense, 3, "Gaat u akkoord met de voorwaarden van deze licentieovereenkomst?"},

    {kPageReadme, 0, "Installatie van %ProductName%"},
    {kPageReadme, 1, "Belangrijke informatie"},
    {kPageReadme, 2, "Lees de volgende belangrijke &informatie."},

    {kPageComponents, 0, "Installatie van %ProductName%"},
    {kPageComponents, 1, "Onderdelen kiezen"},
    {kPageComponents, 2, "Kies welke onderdelen van %ProductName% u wilt installeren."},
    {kPageComponents, 3, "Installatie&type:"},
    {kPageComponents, 4, "Onder&delen:"},
    {kPageComponents, 5, "Benodigde ruimte:"},
    {kPageComponents, 6, "Beschikbare ruimte op station %DISK%:"},
    {kPageComponents, 9, "Selecteer een onderdeel om de beschrijving te zien."},
    {kPageComponents, 14, "Beschrijving"},

    {kPageScope, 0, "Installatie van %ProductName%"},
    {kPageScope, 1, "Gebruikers kiezen"},
    {kPageScope, 2, "Kies voor wie Setup %ProductName% installeert."},
    {kPageScope, 3, "Voor &iedereen op deze computer installeren"},
    {kPageScope, 4,
     "Iedereen die deze computer gebruikt, kan het programma gebruiken. Setup heeft hiervoor "
     "beheerdersrechten nodig."},
    {kPageScope, 5, "Alleen voor &mij installeren"},
    {kPageScope, 6,
     "Alleen u kunt het programma gebruiken. Het komt in uw eigen mappen en Setup heeft geen "
     "beheerdersrechten nodig."},

    {kPageDestination, 0, "Installatie van %ProductName%"},
    {kPageDestination, 1, "Installatielocatie kiezen"},
    {kPageDestination, 2,
     "Setup installeert %ProductName% in de volgende map. Als u een andere map wilt gebruiken, "
     "typt u het pad of klikt u op Bladeren."},
    {kPageDestination, 3, "&Doelmap"},
    {kPageDestination, 4, "Selecteer de map waarin u het programma wilt installeren:"},
    {kPageDestination, 5, "Benodigde ruimte:"},
    {kPageDestination, 6, "Beschikbare ruimte op station %DISK%:"},

    {kPageTasks, 0, "Installatie van %ProductName%"},
    {kPageTasks, 1, "Extra taken"},
    {kPageTasks, 2, "Kies wat Setup verder moet doen en klik dan op Volgende."},
    {kPageTasks, 3, "Extra &taken:"},
    {kPageTasks, 9, "Selecteer een taak om de beschrijving te zien."},

    {kPageStartMenu, 0, "Installatie van %ProductName%"},
    {kPageStartMenu, 1, "Map in het menu Start kiezen"},
    {kPageStartMenu, 2,
     "Setup voegt &snelkoppelingen toe aan de onderstaande map in het menu Start. Typ een nieuwe "
     "naam of kies een bestaande map."},
    {kPageStartMenu, 3, "Een &map in het menu Start maken"},
    {kPageStartMenu, 4, "Snelkoppelingen op het &bureaublad maken"},
    {kPageStartMenu, 5, "Snelkoppelingen op de &werkbalk Snel starten maken"},

    {kPageReady, 0, "Installatie van %ProductName%"},
    {kPageReady, 1, "Gereed om te installeren"},
    {kPageReady, 2, "Setup is gereed om %ProductName% op uw computer te installeren."},
    {kPageReady, 3,
     "Klik op Installeren om te beginnen of op Vorige om instellingen na te zien of te wijzigen."},

    {kPageInstalling, 0, "Installatie van %ProductName%"},
    {kPageInstalling, 1, "%ProductName% wordt geïnstalleerd"},
    {kPageInstalling, 2, "Een ogenblik geduld. Setup installeert %ProductName% op uw computer."},
    {kPageInstalling, 3, "Klik op Annuleren om de installatie te stoppen."},
    {kPageInstalling, 4, "Bestanden kopiëren..."},
    {kPageInstalling, 5, "Snelkoppelingen maken..."},
    {kPageInstalling, 6, "Het register bijwerken..."},
    {kPageInstalling, 7, "Instellingenbestanden bijwerken..."},
    {kPageInstalling, 8, "Bestandstypen registreren..."},
    {kPageInstalling, 13, "De installatie voltooien..."},

    {kPageFinish, 0, "Installatie van %ProductName%"},
    {kPageFinish, 1, "Installatie voltooid"},
    {kPageFinish, 2, "Setup heeft de installatie van %ProductName% voltooid."},
    {kPageFinish, 3, "U kunt %ProductName% nu gebruiken. Klik op Voltooien om Setup te sluiten."},
    {kPageFinish, 4, "&Documentatie openen"},
    {kPageFinish, 5, "%ProductName% nu &starten"},
    {kPageFinish, 6, "De &computer nu opnieuw opstarten"},
    {kPageFinish, 7,
     "Sommige onderdelen konden niet worden geïnstalleerd. De berichten tijdens de installatie "
     "beschrijven de problemen."},
    {kPageFinish, 8,
     "Windows moet opnieuw worden opgestart om de installatie te voltooien. Doe dit nu, of "
     "schakel het vakje hieronder uit om het later te doen."},
    {kPageFinish, 9,
     "Sommige bestanden waren in gebruik. Setup vervangt ze wanneer de computer opnieuw opstart."},
    {kPageFinish, 10, "De computer moet opnieuw worden opgestart om de installatie te voltooien."},

    {kUn, 0, "%s verwijderen"},
    {kUn, 1, "Programma verwijderen"},
    {kUn, 2, "Een ogenblik geduld. %s wordt van uw computer verwijderd."},
    {kUn, 3, "Weet u zeker dat u %s volledig wilt verwijderen?"},
    {kUn, 4, "Verwijderen voltooid"},
    {kUn, 5, "%s is met succes van uw computer verwijderd."},
    {kUn, 6,
     "%s is van uw computer verwijderd, maar sommige onderdelen ervan konden niet worden "
     "verwijderd."},
    {kUn, 7,
     "Het verwijderen is nog niet voltooid.\nAls u nu afsluit, wordt het programma niet volledig "
     "verwijderd.\n\nWeet u zeker dat u wilt afsluiten?"},
    {kUn, 8, "Voltooien"},
    {kUn, 10, "Annuleren"},
    {kUn, 11,
     "Sommige mappen bevatten bestanden die niet door deze installatie zijn gemaakt en niet "
     "automatisch kunnen worden verwijderd. Schakel het selectievakje in bij elk bestand of elke "
     "map die u wilt verwijderen en klik dan op de knop 'Verwijderen'."},
    {kUn, 12, "&Alles selecteren"},
    {kUn, 13, "&Verwijderen"},
    {kUn, 14, "Weet u zeker dat u alle geselecteerde bestanden en mappen wilt verwijderen?"},
    {kUn, 15, "Bewerking bevestigen"},
    {kUn, 16, "Bestanden verwijderen..."},
    {kUn, 17, "Snelkoppelingen in het menu Start verwijderen..."},
    {kUn, 18, "Registervermeldingen verwijderen..."},
    {kUn, 19, "Programma's starten..."},
    {kUn, 20, "Registersleutels verwijderen..."},
    {kUn, 21, "DLL-functies aanroepen..."},
    {kUn, 22, "Gedeelde bestanden verwijderen..."},
    {kUn, 23, "Registerwaarde verwijderen"},
    {kUn, 24, "Fout bij het verwijderen van registerwaarde '%s' in de sleutel '%s'.\n%s"},
    {kUn, 25, "Registersleutel verwijderen"},
    {kUn, 26, "Fout bij het verwijderen van registersleutel '%s'.\n%s"},
    {kUn, 27, "Verwijderingsstap"},
    {kUn, 28, "Deze stap van het verwijderen is mislukt:\n%s\n\nHet verwijderen gaat door."},
    {kUn, 29, "Bestand verwijderen"},
    {kUn, 30,
     "Het bestand %s\nwordt momenteel door een ander programma gebruikt.\n"
     "Wilt u opnieuw proberen het bestand te verwijderen, in plaats van de computer aan het eind "
     "van het verwijderen opnieuw op te starten?"},
    {kUn, 31, "Gedeeld bestand gevonden"},
    {kUn, 32,
     "Volgens het systeem wordt het volgende gedeelde bestand door geen enkel programma meer "
     "gebruikt. Als programma's dit bestand toch nog gebruiken en het wordt verwijderd, werken "
     "die programma's mogelijk niet meer. Weet u zeker dat u het gedeelde bestand wilt "
     "verwijderen?\n\nBestandsnaam: "},
    {kUn, 33, "\nLocatie: "},
    {kUn, 34,
     "\n\nAls u dit bestand laat staan, kan dat uw systeem geen kwaad. Als u niet zeker weet wat "
     "u moet doen, kunt u dit gedeelde onderdeel het beste niet verwijderen."},
    {kUn, 35,
     "U hebt ervoor gekozen alle gedeelde onderdelen te verwijderen die volgens het systeem niet "
     "meer worden gebruikt. Hierdoor kunnen sommige programma's niet meer werken als ze een van "
     "deze bestanden nog nodig hebben. Weet u zeker dat u wilt doorgaan?"},
    {kUn, 36,
     "Deze programma's gebruiken bestanden die moeten worden verwijderd:\n\n%s\n\n"
     "Wilt u ze nu sluiten?\nAls u op Nee klikt, blijven ze actief en worden hun bestanden "
     "verwijderd wanneer de computer opnieuw wordt opgestart."},
    {kUn, 37, "&Ja"},
    {kUn, 38, "Ja voor &alles"},
    {kUn, 39, "&Nee"},
    {kUn, 40,
     "De computer moet opnieuw worden opgestart om het verwijderen te voltooien.\n"
     "Sommige bestanden zijn in gebruik en kunnen pas worden verwijderd wanneer het systeem "
     "opnieuw wordt opgestart.\n\nWilt u het systeem nu opnieuw opstarten?"},
    {kUn, 41,
     "De computer kon niet opnieuw worden opgestart.\n\n"
     "Start de computer zelf opnieuw op om het verwijderen te voltooien."},

    {kPageFilesInUse, 0, "Installatie van %ProductName%"},
    {kPageFilesInUse, 1, "Programma's in gebruik"},
    {kPageFilesInUse, 2, "Actieve programma's gebruiken bestanden die Setup moet vervangen."},
    {kPageFilesInUse, 3,
     "Setup kan deze programma's nu sluiten en ze opnieuw starten wanneer de installatie is "
     "voltooid:"},
    {kPageFilesInUse, 4, "Automatisch &sluiten en daarna opnieuw starten"},
    {kPageFilesInUse, 5, "&Niet sluiten (opnieuw opstarten is dan nodig)"},

    {kSetup, 0,
     "Setup is nog niet voltooid. Als u nu afsluit, wordt het programma niet geïnstalleerd.\n\n"
     "Wilt u Setup afsluiten?"},
    {kSetup, 1,
     "U moet de computer opnieuw opstarten om de configuratie te voltooien.\n\n"
     "Wilt u nu opnieuw opstarten?"},
    {kSetup, 2,
     "De installatiemap is ongeldig.\n\nGeef het volledige pad van een map op, inclusief het "
     "station."},
    {kSetup, 3,
     "De doelmap is ongeldig.\n\nGeef het volledige pad van een map op, inclusief het station."},
    {kSetup, 4, "Wilt u stoppen met het uitpakken van de bestanden?"},
    {kSetup, 5,
     "Sommige bestanden die Setup moest vervangen, waren in gebruik. Ze worden vervangen wanneer "
     "de computer opnieuw wordt opgestart.\n\nWilt u nu opnieuw opstarten?"},
    {kSetup, 6,
     "Het volgende bestand wordt door een ander programma gebruikt:\n%s\n\n"
     "Wilt u het opnieuw proberen? Sluit eerst dat programma en klik dan op Ja.\n"
     "Als u op Nee klikt, wordt het bestand vervangen wanneer de computer opnieuw wordt "
     "opgestart."},
    {kSetup, 7,
     "Het volgende bestand wordt door een ander programma gebruikt en kan niet worden "
     "vervangen:\n%s"},
    {kSetup, 8,
     "Setup is het programma nog aan het installeren.\n"
     "Als u afsluit voordat de installatie is voltooid, wordt alles verwijderd wat tot nu toe is "
     "geïnstalleerd.\n\nWilt u Setup afsluiten?"},
    {kSetup, 9,
     "Setup is voltooid, maar sommige onderdelen van het programma konden niet worden "
     "geïnstalleerd.\nDe berichten tijdens de installatie beschrijven de problemen."},
    {kSetup, 10, "Start de computer opnieuw op voordat u %s gebruikt."},
    {kSetup, 11,
     "U hebt beheerdersrechten nodig om dit programma te installeren.\n\n"
     "Meld u aan als beheerder en voer Setup opnieuw uit."},
    {kSetup, 12,
     "Dit programma vereist Windows NT, Windows 2000, Windows XP of een latere versie van "
     "Windows."},
    {kSetup, 13, "Dit programma vereist %s of een latere versie.\n\nSetup kan niet doorgaan."},
    {kSetup, 14, "Dit programma vereist een 64-bits versie van Windows."},
    {kSetup, 15, "Dit programma vereist een ARM64-versie van Windows."},
    {kSetup, 16,
     "Deze programma's gebruiken bestanden die Setup moet vervangen:\n\n%s\n\n"
     "Wilt u dat Setup ze sluit en daarna opnieuw start?\n"
     "Als u op Nee klikt, blijven ze actief en moet de computer opnieuw worden opgestart om de "
     "installatie te voltooien."},
    {kSetup, 17,
     "Er is al een nieuwere versie van %s op deze computer geïnstalleerd (versie %s).\n\n"
     "Setup kan de oudere versie %s er niet overheen installeren. Als u deze versie wilt "
     "gebruiken, verwijdert u eerst de nieuwere versie."},

    {kError, 0,
     "Setup kon het venster dat nodig is voor de installatie niet maken.\n\n"
     "Setup wordt nu afgesloten."},
    {kError, 1,
     "De toegang is geweigerd toen Setup dit bestand probeerde te lezen:\n%s\n\n"
     "Wilt u dit bestand overslaan en doorgaan?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},
    {kError, 2,
     "U bent niet gemachtigd om dit bestand te wijzigen:\n%s\n\n"
     "Wilt u dit bestand overslaan en doorgaan?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},
    {kError, 3,
     "De toegang is geweigerd toen Setup dit bestand probeerde te openen:\n%s\n\n"
     "Wilt u dit bestand overslaan en doorgaan?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},
    {kError, 4,
     "Setup kon dit bestand niet openen om het te lezen:\n%s\n\n%s\n\n"
     "Wilt u dit bestand overslaan en doorgaan?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},
    {kError, 5,
     "Setup kon dit bestand niet openen om het te vervangen:\n%s\n\n%s\n\n"
     "Wilt u dit bestand overslaan en doorgaan?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},
    {kError, 6,
     "Setup kon dit bestand niet openen:\n%s\n\n%s\n\nWilt u dit bestand overslaan en doorgaan?\n"
     "Als u op Nee klikt, stopt Setup en verwijdert het alles wat tot nu toe is geïnstalleerd."},
    {kError, 7,
     "De toegang is geweigerd toen Setup dit bestand probeerde te maken:\n%s\n\n"
     "Wilt u dit bestand overslaan en doorgaan?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},
    {kError, 8,
     "Setup kon het bestand\n%s\nniet maken, omdat u niet gemachtigd bent om bestanden toe te "
     "voegen aan de map\n%s\n\nWilt u dit bestand overslaan en doorgaan?\n"
     "Als u op Nee klikt, stopt Setup en verwijdert het alles wat tot nu toe is geïnstalleerd."},
    {kError, 9,
     "De toegang is geweigerd toen Setup dit bestand probeerde te maken en te openen:\n%s\n\n"
     "Wilt u dit bestand overslaan en doorgaan?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},
    {kError, 10,
     "Setup kon dit bestand niet maken om het te lezen:\n%s\n\n%s\n\n"
     "Wilt u dit bestand overslaan en doorgaan?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},
    {kError, 11,
     "Setup kon dit bestand niet maken:\n%s\n\n%s\n\nWilt u dit bestand overslaan en doorgaan?\n"
     "Als u op Nee klikt, stopt Setup en verwijdert het alles wat tot nu toe is geïnstalleerd."},
    {kError, 12,
     "Setup kon dit bestand niet maken en openen:\n%s\n\n%s\n\n"
     "Wilt u dit bestand overslaan en doorgaan?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},
    {kError, 13,
     "Het volgende bestand is in gebruik. Setup kon het tijdelijke bestand niet maken\n"
     "dat nodig is om het te vervangen wanneer de computer opnieuw wordt opgestart:\n%s\n\n%s\n\n"
     "Wilt u dit bestand overslaan en doorgaan?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},
    {kError, 14,
     "Er is niet genoeg ruimte op de schijf om dit bestand te schrijven:\n%s\n\n"
     "Maak schijfruimte vrij en klik dan op OK om het opnieuw te proberen.\n"
     "Klik op Annuleren om Setup te stoppen en alles te verwijderen wat tot nu toe is "
     "geïnstalleerd."},
    {kError, 15,
     "Setup kon dit bestand niet schrijven:\n%s\n\n%s\n\n"
     "Wilt u dit bestand overslaan en doorgaan?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},
    {kError, 16, "Setup kon dit bestand niet lezen:\n%s"},
    {kError, 17, "Setup kon dit bestand niet verplaatsen:\n%s"},
    {kError, 18, "Setup kon de kenmerken van dit bestand niet lezen:\n%s"},
    {kError, 19, "Setup kon de kenmerken van dit bestand niet instellen:\n%s"},
    {kError, 20, "Setup kon de grootte van dit bestand niet bepalen:\n%s"},
    {kError, 21,
     "Setup kon deze map niet maken:\n%s\n\n%s\n\nWilt u toch doorgaan met de installatie?\n"
     "Als u op Nee klikt, stopt Setup en verwijdert het alles wat tot nu toe is geïnstalleerd."},
    {kError, 22, "Setup kon dit bestand niet in het geheugen laden:\n%s"},
    {kError, 23, "Setup kon de inhoud van dit bestand niet in het geheugen lezen:\n%s"},
    {kError, 24,
     "Setup kon deze registersleutel niet maken:\n%s\n\n%s\n\n"
     "Wilt u toch doorgaan met de installatie?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},
    {kError, 25,
     "Setup kon de registerwaarde \"%s\" niet schrijven in de sleutel\n%s\n\n%s\n\n"
     "Wilt u toch doorgaan met de installatie?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},
    {kError, 26,
     "U bent niet gemachtigd om de wijzigingen aan te brengen die Setup in het register nodig "
     "heeft.\n\nWilt u toch doorgaan met de installatie?\n"
     "Als u op Nee klikt, stopt Setup en verwijdert het alles wat tot nu toe is geïnstalleerd."},
    {kError, 27,
     "Setup kon deze snelkoppeling niet maken:\n%s\n\nWilt u toch doorgaan met de installatie?\n"
     "Als u op Nee klikt, stopt Setup en verwijdert het alles wat tot nu toe is geïnstalleerd."},
    {kError, 28,
     "\nDit onderdeel kon niet worden geregistreerd, waardoor sommige functies mogelijk niet "
     "werken.\n\nWilt u toch doorgaan met de installatie?\n"
     "Als u op Nee klikt, stopt Setup en verwijdert het alles wat tot nu toe is geïnstalleerd."},
    {kError, 29,
     "Setup kon de computer niet opnieuw opstarten.\n\n"
     "Start de computer zelf opnieuw op om de installatie te voltooien."},
    {kError, 30,
     "Setup kon het bestandstype %s niet registreren.\n\n"
     "Wilt u toch doorgaan met de installatie?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},
    {kError, 31, "Het station van de doelmap bestaat niet.\n\nKies een andere map."},
    {kError, 32,
     "U bent niet gemachtigd om bestanden te maken in de doelmap.\n\nKies een andere map."},
    {kError, 33, "U bent niet gemachtigd om mappen te maken in\n%s\n\nKies een andere doelmap."},
    {kError, 34,
     "U bent niet gemachtigd om het station van de doelmap te gebruiken.\n\nKies een andere map."},
    {kError, 35,
     "Setup kon de map\n%s\nniet maken, omdat u niet gemachtigd bent om mappen te maken in\n"
     "%s\n\nWilt u toch doorgaan met de installatie?\n"
     "Als u op Nee klikt, stopt Setup en verwijdert het alles wat tot nu toe is geïnstalleerd."},
    {kError, 36,
     "Setup kon de map\n%s\nniet maken, omdat de toegang tot de map\n%s\nis geweigerd.\n\n"
     "Wilt u toch doorgaan met de installatie?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},
    {kError, 37,
     "Setup kon de map\n%s\nniet maken, omdat de toegang tot het station is geweigerd.\n\n"
     "Wilt u toch doorgaan met de installatie?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},
    {kError, 38,
     "Setup kon de map\n%s\nniet maken, omdat u niet gemachtigd bent om mappen te maken op dit "
     "station.\n\nWilt u toch doorgaan met de installatie?\n"
     "Als u op Nee klikt, stopt Setup en verwijdert het alles wat tot nu toe is geïnstalleerd."},
    {kError, 39,
     "Er is niet genoeg vrije ruimte op het doelstation.\n\n"
     "Maak ruimte vrij of kies een andere map."},
    {kError, 40,
     "Setup kon dit programmabestand niet uitvoeren:\n%s\n\n%s\n\n"
     "Wilt u toch doorgaan met de installatie?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},
    {kError, 41,
     "Dit programmabestand is beëindigd met een afsluitcode die aangeeft dat het mislukt is:\n"
     "%s\n\nAfsluitcode: %s\n\nWilt u toch doorgaan met de installatie?\n"
     "Als u op Nee klikt, stopt Setup en verwijdert het alles wat tot nu toe is geïnstalleerd."},
    {kError, 42,
     "Setup kon de functie %s in het bestand\n%s\nniet aanroepen.\n\n%s\n\n"
     "Wilt u toch doorgaan met de installatie?\nAls u op Nee klikt, stopt Setup en verwijdert "
     "het alles wat tot nu toe is geïnstalleerd."},

    {kButton, 0, "< V&orige"},
    {kButton, 1, "&Volgende >"},
    {kButton, 2, "Annuleren"},
    {kButton, 3, "&Installeren"},
    {kButton, 4, "&Afsluiten"},
    {kButton, 5, "&Ja"},
    {kButton, 6, "&Nee"},
    {kButton, 7, "&Bladeren..."},
    {kButton, 8, "&Voltooien"},
    {kButton, 9, "&Uitpakken"},
    {kButton, 10, "OK"},
};

}  // namespace

std::span<const BuiltinText> dutchTexts() {
    return kTexts;
}

}  // namespace kelvara::build
