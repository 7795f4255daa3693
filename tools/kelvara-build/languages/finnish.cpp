// Finnish texts of the installer and the uninstaller.
#include "kelvara-build/languages/builtin_languages.h"

namespace kelvara::build {
namespace {

constexpr int kSetup = kTableSetupMessages;
constexpr int kError = kTableErrorMessages;
constexpr int kButton = kTableButtonLabels;
constexpr int kUn = kTableUninstaller;

constexpr BuiltinText kTexts[] = {
    {kPageLanguage, 0, "%ProductName% - asennus"},
    {kPageLanguage, 1, "Valitse asennuksen kieli"},
    {kPageLanguage, 2, "Valitse kieli, jota käytetään asennuksen aikana."},
    {kPageLanguage, 3, "&Kieli:"},

    {kPageWelcome, 0, "%ProductName% - asennus"},
    {kPageWelcome, 1, "Tervetuloa asentamaan ohjelmaa %ProductName%"},
    {kPageWelcome, 2, "Tämä ohjattu toiminto asentaa ohjelman %ProductName% tietokoneeseesi."},
    {kPageWelcome, 3, "Se opastaa sinut muutaman lyhyen vaiheen läpi."},
    {kPageWelcome, 4, "On suositeltavaa sulkea kaikki muut ohjelmat ennen jatkamista."},
    {kPageWelcome, 6, "Jatka napsauttamalla Seuraava tai lopeta napsauttamalla Peruuta."},
    {kPageWelcome, 7, "Tervetuloa asennukseen"},

    {kPageLicense, 0, "%ProductName% - asennus"},
    {kPageLicense, 1, "Käyttöoikeussopimus"},
    {kPageLicense, 2, "Lue seuraava &käyttöoikeussopimus."},
    {kPageLicense, 3, "Hyväksytkö tämän käyttöoikeussopimuksen ehdot?"},

    {kPageReadme, 0, "%ProductName% - asennus"},
    {kPageReadme, 1, "Tärkeitä tietoja"},
    {kPageReadme, 2, "Lue seuraavat tärkeät &tiedot."},

    {kPageComponents, 0, "%ProductName% - asennus"},
    {kPageComponents, 1, "Valitse osat"},
    {kPageComponents, 2, "Valitse, mitkä ohjelman %ProductName% osat asennetaan."},
    {kPageComponents, 3, "Asennuksen &tyyppi:"},
    {kPageComponents, 4, "&Osat:"},
    {kPageComponents, 5, "Tarvittava tila:"},
    {kPageComponents, 6, "Vapaa tila asemassa %DISK%:"},
    {kPageComponents, 9, "Valitse osa, niin näet sen kuvauksen."},
    {kPageComponents, 14, "Kuvaus"},

    {kPageScope, 0, "%ProductName% - asennus"},
    {kPageScope, 1, "Valitse käyttäjät"},
    {kPageScope, 2, "Valitse, kenelle ohjelma %ProductName% asennetaan."},
    {kPageScope, 3, "Asenna &kaikille tämän tietokoneen käyttäjille"},
    {kPageScope, 4,
     "Kaikki tämän tietokoneen käyttäjät voivat käyttää ohjelmaa. Tähän tarvitaan "
     "järjestelmänvalvojan oikeudet."},
    {kPageScope, 5, "Asenna vain &minulle"},
    {kPageScope, 6,
     "Vain sinä voit käyttää ohjelmaa. Se asennetaan omiin kansioihisi, eikä "
     "järjestelmänvalvojan oikeuksia tarvita."},

    {kPageDestination, 0, "%ProductName% - asennus"},
    {kPageDestination, 1, "Valitse asennuskohde"},
    {kPageDestination, 2,
     "Ohjelma %ProductName% asennetaan seuraavaan kansioon. Jos haluat käyttää toista kansiota, "
     "kirjoita sen polku tai napsauta Selaa."},
    {kPageDestination, 3, "&Kohdekansio"},
    {kPageDestination, 4, "Valitse kansio, johon ohjelma asennetaan:"},
    {kPageDestination, 5, "Tarvittava tila:"},
    {kPageDestination, 6, "Vapaa tila asemassa %DISK%:"},

    {kPageTasks, 0, "%ProductName% - asennus"},
    {kPageTasks, 1, "Lisätehtävät"},
    {kPageTasks, 2, "Valitse, mitä muuta tehdään, ja napsauta sitten Seuraava."},
    {kPageTasks, 3, "&Lisätehtävät:"},
    {kPageTasks, 9, "Valitse tehtävä, niin näet sen kuvauksen."},

    {kPageStartMenu, 0, "%ProductName% - asennus"},
    {kPageStartMenu, 1, "Valitse Käynnistä-valikon kansio"},
    {kPageStartMenu, 2,
     "Pikakuvakkeet lisätään alla olevaan Käynnistä-valikon kansioon. Kirjoita uusi &nimi tai "
     "valitse olemassa oleva kansio."},
    {kPageStartMenu, 3, "Luo &kansio Käynnistä-valikkoon"},
    {kPageStartMenu, 4, "Luo pikakuvakkeet &työpöydälle"},
    {kPageStartMenu, 5, "Luo pikakuvakkeet &Pikakäynnistys-palkkiin"},

    {kPageReady, 0, "%ProductName% - asennus"},
    {kPageReady, 1, "Valmis asentamaan"},
    {kPageReady, 2, "Ohjelma %ProductName% voidaan nyt asentaa tietokoneeseesi."},
    {kPageReady, 3,
     "Aloita napsauttamalla Asenna. Voit tarkistaa tai muuttaa asetuksia napsauttamalla "
     "Edellinen."},

    {kPageInstalling, 0, "%ProductName% - asennus"},
    {kPageInstalling, 1, "Ohjelmaa %ProductName% asennetaan"},
    {kPageInstalling, 2, "Odota, kun ohjelmaa %ProductName% asennetaan tietokoneeseesi."},
    {kPageInstalling, 3, "Voit keskeyttää asennuksen napsauttamalla Peruuta."},
    {kPageInstalling, 4, "Kopioidaan tiedostoja..."},
    {kPageInstalling, 5, "Luodaan pikakuvakkeita..."},
    {kPageInstalling, 6, "Päivitetään rekisteriä..."},
    {kPageInstalling, 7, "Päivitetään asetustiedostoja..."},
    {kPageInstalling, 8, "Rekisteröidään tiedostotyyppejä..."},
    {kPageInstalling, 13, "Viimeistellään asennusta..."},

    {kPageFinish, 0, "%ProductName% - asennus"},
    {kPageFinish, 1, "Asennus on valmis"},
    {kPageFinish, 2, "Ohjelma %ProductName% on asennettu."},
    {kPageFinish, 3,
     "Voit nyt käyttää ohjelmaa %ProductName%. Lopeta asennus napsauttamalla Valmis."},
    {kPageFinish, 4, "&Avaa ohjeet"},
    {kPageFinish, 5, "&Käynnistä %ProductName% nyt"},
    {kPageFinish, 6, "Käynnistä tietokone &uudelleen nyt"},
    {kPageFinish, 7,
     "Joitakin osia ei voitu asentaa. Ongelmat on kuvattu asennuksen aikana näytetyissä "
     "ilmoituksissa."},
    {kPageFinish, 8,
     "Windows on käynnistettävä uudelleen asennuksen viimeistelemiseksi. Tee se nyt tai poista "
     "alla olevan ruudun valinta ja tee se myöhemmin."},
    {kPageFinish, 9,
     "Jotkin tiedostot olivat käytössä. Ne korvataan, kun tietokone käynnistetään uudelleen."},
    {kPageFinish, 10, "Tietokone on käynnistettävä uudelleen asennuksen viimeistelemiseksi."},

    {kUn, 0, "%s - asennuksen poisto"},
    {kUn, 1, "Ohjelman poisto"},
    {kUn, 2, "Odota, kun %s poistetaan tietokoneesta."},
    {kUn, 3, "Haluatko varmasti poistaa ohjelman %s kokonaan?"},
    {kUn, 4, "Asennuksen poisto on valmis"},
    {kUn, 5, "%s poistettiin tietokoneesta onnistuneesti."},
    {kUn, 6, "%s poistettiin tietokoneesta, mutta joitakin sen merkintöjä ei voitu poistaa."},
    {kUn, 7,
     "Asennuksen poisto on kesken.\nJos lopetat nyt, ohjelmaa ei poisteta kunnolla.\n\n"
     "Haluatko varmasti lopettaa?"},
    {kUn, 8, "Valmis"},
    {kUn, 10, "Peruuta"},
    {kUn, 11,
     "Joissakin kansioissa on tiedostoja, joita tämä asennus ei luonut ja joita ei voi poistaa "
     "automaattisesti. Valitse niiden tiedostojen ja kansioiden valintaruudut, jotka haluat "
     "poistaa, ja napsauta sitten 'Poista'-painiketta."},
    {kUn, 12, "Valitse k&aikki"},
    {kUn, 13, "&Poista"},
    {kUn, 14, "Haluatko varmasti poistaa kaikki valitut tiedostot ja kansiot?"},
    {kUn, 15, "Vahvista toiminto"},
    {kUn, 16, "Poistetaan tiedostoja..."},
    {kUn, 17, "Poistetaan Käynnistä-valikon pikakuvakkeita..."},
    {kUn, 18, "Poistetaan rekisterimerkintöjä..."},
    {kUn, 19, "Käynnistetään ohjelmia..."},
    {kUn, 20, "Poistetaan rekisteriavaimia..."},
    {kUn, 21, "Kutsutaan DLL-funktioita..."},
    {kUn, 22, "Poistetaan jaettuja tiedostoja..."},
    {kUn, 23, "Rekisteriarvon poisto"},
    {kUn, 24, "Virhe poistettaessa rekisteriarvoa '%s' avaimesta '%s'.\n%s"},
    {kUn, 25, "Rekisteriavaimen poisto"},
    {kUn, 26, "Virhe poistettaessa rekisteriavainta '%s'.\n%s"},
    {kUn, 27, "Asennuksen poiston vaihe"},
    {kUn, 28, "Tämä asennuksen poiston vaihe epäonnistui:\n%s\n\nAsennuksen poistoa jatketaan."},
    {kUn, 29, "Tiedoston poisto"},
    {kUn, 30,
     "Tiedosto %s\non tällä hetkellä toisen sovelluksen käytössä.\n"
     "Haluatko yrittää poistaa tiedoston uudelleen sen sijaan, että tietokone käynnistetään "
     "uudelleen asennuksen poiston lopuksi?"},
    {kUn, 31, "Jaettu tiedosto havaittu"},
    {kUn, 32,
     "Järjestelmän mukaan mikään ohjelma ei enää käytä seuraavaa jaettua tiedostoa. Jos jokin "
     "ohjelma kuitenkin käyttää tiedostoa ja se poistetaan, ohjelma ei ehkä enää toimi. Haluatko "
     "varmasti poistaa jaetun tiedoston?\n\nTiedostonimi: "},
    {kUn, 33, "\nSijainti: "},
    {kUn, 34,
     "\n\nTiedoston säilyttäminen ei vahingoita järjestelmää. Jos et ole varma, mitä tehdä, on "
     "suositeltavaa jättää tämä jaettu osa poistamatta."},
    {kUn, 35,
     "Olet valinnut poistettavaksi kaikki jaetut osat, joita järjestelmän mukaan ei enää "
     "käytetä. Tämän vuoksi jotkin ohjelmat eivät ehkä toimi, jos ne tarvitsevat vielä joitakin "
     "näistä tiedostoista. Haluatko varmasti jatkaa?"},
    {kUn, 36,
     "Nämä ohjelmat käyttävät tiedostoja, jotka on poistettava:\n\n%s\n\n"
     "Haluatko sulkea ohjelmat nyt?\nJos napsautat Ei, ohjelmat jäävät käyntiin, ja niiden "
     "tiedostot poistetaan, kun tietokone käynnistetään uudelleen."},
    {kUn, 37, "&Kyllä"},
    {kUn, 38, "Kyllä k&aikkiin"},
    {kUn, 39, "&Ei"},
    {kUn, 40,
     "Tietokone on käynnistettävä uudelleen asennuksen poiston viimeistelemiseksi.\n"
     "Jotkin tiedostot ovat käytössä, ja ne voidaan poistaa vasta, kun järjestelmä käynnistetään "
     "uudelleen.\n\nKäynnistetäänkö järjestelmä uudelleen nyt?"},
    {kUn, 41,
     "Tietokonetta ei voitu käynnistää uudelleen.\n\n"
     "Viimeistele asennuksen poisto käynnistämällä tietokone itse uudelleen."},

    {kPageFilesInUse, 0, "%ProductName% - asennus"},
    {kPageFilesInUse, 1, "Käytössä olevat ohjelmat"},
    {kPageFilesInUse, 2, "Käynnissä olevat ohjelmat käyttävät korvattavia tiedostoja."},
    {kPageFilesInUse, 3,
     "Asennusohjelma voi sulkea nämä ohjelmat nyt ja käynnistää ne uudelleen, kun asennus on "
     "valmis:"},
    {kPageFilesInUse, 4, "Sulje ohjelmat &automaattisesti ja käynnistä ne uudelleen"},
    {kPageFilesInUse, 5, "&Älä sulje ohjelmia (uudelleenkäynnistys tarvitaan)"},

    {kSetup, 0,
     "Asennus on kesken. Jos lopetat nyt, ohjelmaa ei asenneta.\n\n"
     "Haluatko lopettaa asennusohjelman?"},
    {kSetup, 1,
     "Tietokone on käynnistettävä uudelleen määritysten viimeistelemiseksi.\n\n"
     "Haluatko käynnistää sen uudelleen nyt?"},
    {kSetup, 2, "Asennuskansio ei kelpaa.\n\nKirjoita kansion koko polku asema mukaan lukien."},
    {kSetup, 3, "Kohdekansio ei kelpaa.\n\nKirjoita kansion koko polku asema mukaan lukien."},
    {kSetup, 4, "Haluatko lopettaa tiedostojen purkamisen?"},
    {kSetup, 5,
     "Jotkin tiedostot, jotka asennusohjelman piti korvata, olivat käytössä. Ne korvataan, kun "
     "tietokone käynnistetään uudelleen.\n\nHaluatko käynnistää tietokoneen uudelleen nyt?"},
    {kSetup, 6,
     "Toinen ohjelma käyttää seuraavaa tiedostoa:\n%s\n\n"
     "Haluatko yrittää uudelleen? Sulje ensin kyseinen ohjelma ja napsauta sitten Kyllä.\n"
     "Jos napsautat Ei, tiedosto korvataan, kun tietokone käynnistetään uudelleen."},
    {kSetup, 7, "Toinen ohjelma käyttää seuraavaa tiedostoa, eikä sitä voi korvata:\n%s"},
    {kSetup, 8,
     "Asennusohjelma asentaa vielä ohjelmaa.\nJos lopetat ennen kuin asennus on valmis, kaikki "
     "tähän mennessä asennettu poistetaan.\n\nHaluatko lopettaa asennusohjelman?"},
    {kSetup, 9,
     "Asennus on valmis, mutta joitakin ohjelman osia ei voitu asentaa.\n"
     "Ongelmat on kuvattu asennuksen aikana näytetyissä ilmoituksissa."},
    {kSetup, 10, "Käynnistä tietokone uudelleen ennen kuin käytät ohjelmaa %s."},
    {kSetup, 11,
     "Tämän ohjelman asentaminen edellyttää järjestelmänvalvojan oikeuksia.\n\n"
     "Kirjaudu sisään järjestelmänvalvojana ja suorita asennusohjelma uudelleen."},
    {kSetup, 12,
     "Tämä ohjelma vaatii Windows NT:n, Windows 2000:n, Windows XP:n tai uudemman "
     "Windows-version."},
    {kSetup, 13, "Tämä ohjelma vaatii version %s tai uudemman.\n\nAsennusta ei voi jatkaa."},
    {kSetup, 14, "Tämä ohjelma vaatii 64-bittisen Windows-version."},
    {kSetup, 15, "Tämä ohjelma vaatii Windowsin ARM64-version."},
    {kSetup, 16,
     "Nämä ohjelmat käyttävät tiedostoja, jotka asennusohjelman on korvattava:\n\n%s\n\n"
     "Haluatko, että asennusohjelma sulkee ne ja käynnistää ne jälkeenpäin uudelleen?\n"
     "Jos napsautat Ei, ohjelmat jäävät käyntiin, ja tietokone on käynnistettävä uudelleen "
     "asennuksen viimeistelemiseksi."},
    {kSetup, 17,
     "Ohjelmasta %s on jo asennettu tähän tietokoneeseen uudempi versio (versio %s).\n\n"
     "Asennusohjelma ei voi asentaa vanhempaa versiota %s sen päälle. Jos haluat käyttää tätä "
     "versiota, poista ensin uudempi versio."},

    {kError, 0,
     "Asennusohjelma ei voinut luoda ikkunaa, jota asennus tarvitsee.\n\n"
     "Asennusohjelma suljetaan nyt."},
    {kError, 1,
     "Käyttö estettiin, kun asennusohjelma yritti lukea tätä tiedostoa:\n%s\n\n"
     "Haluatko ohittaa tämän tiedoston ja jatkaa?\nJos napsautat Ei, asennusohjelma keskeyttää "
     "asennuksen ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 2,
     "Sinulla ei ole oikeutta muuttaa tätä tiedostoa:\n%s\n\n"
     "Haluatko ohittaa tämän tiedoston ja jatkaa?\nJos napsautat Ei, asennusohjelma keskeyttää "
     "asennuksen ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 3,
     "Käyttö estettiin, kun asennusohjelma yritti avata tämän tiedoston:\n%s\n\n"
     "Haluatko ohittaa tämän tiedoston ja jatkaa?\nJos napsautat Ei, asennusohjelma keskeyttää "
     "asennuksen ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 4,
     "Asennusohjelma ei voinut avata tätä tiedostoa luettavaksi:\n%s\n\n%s\n\n"
     "Haluatko ohittaa tämän tiedoston ja jatkaa?\nJos napsautat Ei, asennusohjelma keskeyttää "
     "asennuksen ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 5,
     "Asennusohjelma ei voinut avata tätä tiedostoa sen korvaamiseksi:\n%s\n\n%s\n\n"
     "Haluatko ohittaa tämän tiedoston ja jatkaa?\nJos napsautat Ei, asennusohjelma keskeyttää "
     "asennuksen ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 6,
     "Asennusohjelma ei voinut avata tätä tiedostoa:\n%s\n\n%s\n\n"
     "Haluatko ohittaa tämän tiedoston ja jatkaa?\nJos napsautat Ei, asennusohjelma keskeyttää "
     "asennuksen ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 7,
     "Käyttö estettiin, kun asennusohjelma yritti luoda tämän tiedoston:\n%s\n\n"
     "Haluatko ohittaa tämän tiedoston ja jatkaa?\nJos napsautat Ei, asennusohjelma keskeyttää "
     "asennuksen ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 8,
     "Asennusohjelma ei voinut luoda tiedostoa\n%s\n"
     "koska sinulla ei ole oikeutta lisätä tiedostoja kansioon\n%s\n\n"
     "Haluatko ohittaa tämän tiedoston ja jatkaa?\nJos napsautat Ei, asennusohjelma keskeyttää "
     "asennuksen ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 9,
     "Käyttö estettiin, kun asennusohjelma yritti luoda ja avata tämän tiedoston:\n%s\n\n"
     "Haluatko ohittaa tämän tiedoston ja jatkaa?\nJos napsautat Ei, asennusohjelma keskeyttää "
     "asennuksen ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 10,
     "Asennusohjelma ei voinut luoda tätä tiedostoa luettavaksi:\n%s\n\n%s\n\n"
     "Haluatko ohittaa tämän tiedoston ja jatkaa?\nJos napsautat Ei, asennusohjelma keskeyttää "
     "asennuksen ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 11,
     "Asennusohjelma ei voinut luoda tätä tiedostoa:\n%s\n\n%s\n\n"
     "Haluatko ohittaa tämän tiedoston ja jatkaa?\nJos napsautat Ei, asennusohjelma keskeyttää "
     "asennuksen ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 12,
     "Asennusohjelma ei voinut luoda ja avata tätä tiedostoa:\n%s\n\n%s\n\n"
     "Haluatko ohittaa tämän tiedoston ja jatkaa?\nJos napsautat Ei, asennusohjelma keskeyttää "
     "asennuksen ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 13,
     "Seuraava tiedosto on käytössä. Asennusohjelma ei voinut luoda väliaikaista tiedostoa,\n"
     "jota tarvitaan sen korvaamiseen, kun tietokone käynnistetään uudelleen:\n%s\n\n%s\n\n"
     "Haluatko ohittaa tämän tiedoston ja jatkaa?\nJos napsautat Ei, asennusohjelma keskeyttää "
     "asennuksen ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 14,
     "Levyllä ei ole tarpeeksi tilaa tämän tiedoston kirjoittamiseen:\n%s\n\n"
     "Vapauta levytilaa ja yritä uudelleen napsauttamalla OK.\n"
     "Jos napsautat Peruuta, asennusohjelma keskeyttää asennuksen ja poistaa kaiken, mitä se on "
     "tähän mennessä asentanut."},
    {kError, 15,
     "Asennusohjelma ei voinut kirjoittaa tätä tiedostoa:\n%s\n\n%s\n\n"
     "Haluatko ohittaa tämän tiedoston ja jatkaa?\nJos napsautat Ei, asennusohjelma keskeyttää "
     "asennuksen ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 16, "Asennusohjelma ei voinut lukea tätä tiedostoa:\n%s"},
    {kError, 17, "Asennusohjelma ei voinut siirtää tätä tiedostoa:\n%s"},
    {kError, 18, "Asennusohjelma ei voinut lukea tämän tiedoston määritteitä:\n%s"},
    {kError, 19, "Asennusohjelma ei voinut asettaa tämän tiedoston määritteitä:\n%s"},
    {kError, 20, "Asennusohjelma ei voinut selvittää tämän tiedoston kokoa:\n%s"},
    {kError, 21,
     "Asennusohjelma ei voinut luoda tätä kansiota:\n%s\n\n%s\n\n"
     "Haluatko silti jatkaa asennusta?\nJos napsautat Ei, asennusohjelma keskeyttää asennuksen "
     "ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 22, "Asennusohjelma ei voinut ladata tätä tiedostoa muistiin:\n%s"},
    {kError, 23, "Asennusohjelma ei voinut lukea tämän tiedoston sisältöä muistiin:\n%s"},
    {kError, 24,
     "Asennusohjelma ei voinut luoda tätä rekisteriavainta:\n%s\n\n%s\n\n"
     "Haluatko silti jatkaa asennusta?\nJos napsautat Ei, asennusohjelma keskeyttää asennuksen "
     "ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 25,
     "Asennusohjelma ei voinut kirjoittaa rekisteriarvoa \"%s\" avaimeen\n%s\n\n%s\n\n"
     "Haluatko silti jatkaa asennusta?\nJos napsautat Ei, asennusohjelma keskeyttää asennuksen "
     "ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 26,
     "Sinulla ei ole oikeutta tehdä rekisteriin muutoksia, joita asennusohjelma tarvitsee.\n\n"
     "Haluatko silti jatkaa asennusta?\nJos napsautat Ei, asennusohjelma keskeyttää asennuksen "
     "ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 27,
     "Asennusohjelma ei voinut luoda tätä pikakuvaketta:\n%s\n\n"
     "Haluatko silti jatkaa asennusta?\nJos napsautat Ei, asennusohjelma keskeyttää asennuksen "
     "ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 28,
     "\nTätä osaa ei voitu rekisteröidä, joten jotkin toiminnot eivät ehkä toimi.\n\n"
     "Haluatko silti jatkaa asennusta?\nJos napsautat Ei, asennusohjelma keskeyttää asennuksen "
     "ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 29,
     "Asennusohjelma ei voinut käynnistää tietokonetta uudelleen.\n\n"
     "Viimeistele asennus käynnistämällä tietokone itse uudelleen."},
    {kError, 30,
     "Asennusohjelma ei voinut rekisteröidä tiedostotyyppiä %s.\n\n"
     "Haluatko silti jatkaa asennusta?\nJos napsautat Ei, asennusohjelma keskeyttää asennuksen "
     "ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 31, "Kohdekansion asemaa ei ole olemassa.\n\nValitse toinen kansio."},
    {kError, 32,
     "Sinulla ei ole oikeutta luoda tiedostoja kohdekansioon.\n\nValitse toinen kansio."},
    {kError, 33,
     "Sinulla ei ole oikeutta luoda kansioita sijaintiin\n%s\n\nValitse toinen kohdekansio."},
    {kError, 34, "Sinulla ei ole oikeutta käyttää kohdekansion asemaa.\n\nValitse toinen kansio."},
    {kError, 35,
     "Asennusohjelma ei voinut luoda kansiota\n%s\nkoska sinulla ei ole oikeutta luoda kansioita "
     "sijaintiin\n%s\n\nHaluatko silti jatkaa asennusta?\n"
     "Jos napsautat Ei, asennusohjelma keskeyttää asennuksen ja poistaa kaiken, mitä se on tähän "
     "mennessä asentanut."},
    {kError, 36,
     "Asennusohjelma ei voinut luoda kansiota\n%s\nkoska pääsy kansioon\n%s\nestettiin.\n\n"
     "Haluatko silti jatkaa asennusta?\nJos napsautat Ei, asennusohjelma keskeyttää asennuksen "
     "ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 37,
     "Asennusohjelma ei voinut luoda kansiota\n%s\nkoska pääsy asemaan estettiin.\n\n"
     "Haluatko silti jatkaa asennusta?\nJos napsautat Ei, asennusohjelma keskeyttää asennuksen "
     "ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 38,
     "Asennusohjelma ei voinut luoda kansiota\n%s\nkoska sinulla ei ole oikeutta luoda kansioita "
     "tähän asemaan.\n\nHaluatko silti jatkaa asennusta?\n"
     "Jos napsautat Ei, asennusohjelma keskeyttää asennuksen ja poistaa kaiken, mitä se on tähän "
     "mennessä asentanut."},
    {kError, 39,
     "Kohdeasemassa ei ole tarpeeksi vapaata tilaa.\n\nVapauta tilaa tai valitse toinen kansio."},
    {kError, 40,
     "Asennusohjelma ei voinut suorittaa tätä ohjelmatiedostoa:\n%s\n\n%s\n\n"
     "Haluatko silti jatkaa asennusta?\nJos napsautat Ei, asennusohjelma keskeyttää asennuksen "
     "ja poistaa kaiken, mitä se on tähän mennessä asentanut."},
    {kError, 41,
     "Tämä ohjelmatiedosto päättyi lopetuskoodiin, joka ilmaisee sen epäonnistuneen:\n%s\n\n"
     "Lopetuskoodi: %s\n\nHaluatko silti jatkaa asennusta?\n"
     "Jos napsautat Ei, asennusohjelma keskeyttää asennuksen ja poistaa kaiken, mitä se on tähän "
     "mennessä asentanut."},
    {kError, 42,
     "Asennusohjelma ei voinut kutsua funktiota %s tiedostossa\n%s\n\n%s\n\n"
     "Haluatko silti jatkaa asennusta?\nJos napsautat Ei, asennusohjelma keskeyttää asennuksen "
     "ja poistaa kaiken, mitä se on tähän mennessä asentanut."},

    {kButton, 0, "< &Edellinen"},
    {kButton, 1, "&Seuraava >"},
    {kButton, 2, "Peruuta"},
    {kButton, 3, "&Asenna"},
    {kButton, 4, "&Lopeta"},
    {kButton, 5, "&Kyllä"},
    {kButton, 6, "&Ei"},
    {kButton, 7, "Sel&aa..."},
    {kButton, 8, "&Valmis"},
    {kButton, 9, "&Pura"},
    {kButton, 10, "OK"},
};

}  // namespace

std::span<const BuiltinText> finnishTexts() {
    return kTexts;
}

}  // namespace kelvara::build
