// German texts of the installer and the uninstaller.
#include "kelvara-build/languages/builtin_languages.h"

namespace kelvara::build {
namespace {

constexpr int kSetup = kTableSetupMessages;
constexpr int kError = kTableErrorMessages;
constexpr int kButton = kTableButtonLabels;
constexpr int kUn = kTableUninstaller;

constexpr BuiltinText kTexts[] = {
    {kPageLanguage, 0, "Installation von %ProductName%"},
    {kPageLanguage, 1, "Setup-Sprache auswählen"},
    {kPageLanguage, 2,
     "Wählen Sie die Sprache aus, die während der Installation verwendet werden soll."},
    {kPageLanguage, 3, "&Sprache:"},

    {kPageWelcome, 0, "Installation von %ProductName%"},
    {kPageWelcome, 1, "Willkommen bei der Installation von %ProductName%"},
    {kPageWelcome, 2, "Dieser Assistent installiert %ProductName% auf Ihrem Computer."},
    {kPageWelcome, 3, "Er führt Sie durch einige kurze Schritte."},
    {kPageWelcome, 4,
     "Es wird empfohlen, alle anderen Programme zu schließen, bevor Sie fortfahren."},
    {kPageWelcome, 6,
     "Klicken Sie auf Weiter, um fortzufahren, oder auf Abbrechen, um Setup zu beenden."},
    {kPageWelcome, 7, "Willkommen bei der Installation"},

    {kPageLicense, 0, "Installation von %ProductName%"},
    {kPageLicense, 1, "Lizenzvereinbarung"},
    {kPageLicense, 2, "Bitte lesen Sie die folgende &Lizenzvereinbarung."},
    {kPageLicense, 3, "Akzeptieren Sie die Bedingungen dieser Lizenzvereinbarung?"},

    {kPageReadme, 0, "Installation von %ProductName%"},
    {kPageReadme, 1, "Wichtige Informationen"},
    {kPageReadme, 2, "Bitte lesen Sie die folgenden wichtigen &Informationen."},

    {kPageComponents, 0, "Installation von %ProductName%"},
    {kPageComponents, 1, "Komponenten auswählen"},
    {kPageComponents, 2,
     "Wählen Sie aus, welche Teile von %ProductName% installiert werden sollen."},
    {kPageComponents, 3, "Setup&typ:"},
    {kPageComponents, 4, "&Komponenten:"},
    {kPageComponents, 5, "Benötigter Speicherplatz:"},
    {kPageComponents, 6, "Verfügbarer Speicherplatz auf Laufwerk %DISK%:"},
    {kPageComponents, 9, "Wählen Sie eine Komponente aus, um ihre Beschreibung anzuzeigen."},
    {kPageComponents, 14, "Beschreibung"},

    {kPageScope, 0, "Installation von %ProductName%"},
    {kPageScope, 1, "Benutzer auswählen"},
    {kPageScope, 2, "Wählen Sie aus, für wen Setup %ProductName% installiert."},
    {kPageScope, 3, "Für &alle Benutzer dieses Computers installieren"},
    {kPageScope, 4,
     "Alle Benutzer dieses Computers können das Programm verwenden. Setup benötigt dafür "
     "Administratorrechte."},
    {kPageScope, 5, "Nur für &mich installieren"},
    {kPageScope, 6,
     "Nur Sie können das Programm verwenden. Es wird in Ihren eigenen Ordnern installiert, und "
     "Setup benötigt keine Administratorrechte."},

    {kPageDestination, 0, "Installation von %ProductName%"},
    {kPageDestination, 1, "Installationsort auswählen"},
    {kPageDestination, 2,
     "Setup installiert %ProductName% im folgenden Ordner. Um einen anderen Ordner zu verwenden, "
     "geben Sie dessen Pfad ein, oder klicken Sie auf Ändern."},
    {kPageDestination, 3, "Ziel&ordner"},
    {kPageDestination, 4,
     "Wählen Sie den Ordner aus, in dem das Programm installiert werden soll:"},
    {kPageDestination, 5, "Benötigter Speicherplatz:"},
    {kPageDestination, 6, "Verfügbarer Speicherplatz auf Laufwerk %DISK%:"},

    {kPageTasks, 0, "Installation von %ProductName%"},
    {kPageTasks, 1, "Zusätzliche Aufgaben"},
    {kPageTasks, 2, "Wählen Sie, was Setup außerdem tun soll, und klicken Sie auf Weiter."},
    {kPageTasks, 3, "Zusätzliche &Aufgaben:"},
    {kPageTasks, 9, "Wählen Sie eine Aufgabe aus, um ihre Beschreibung anzuzeigen."},

    {kPageStartMenu, 0, "Installation von %ProductName%"},
    {kPageStartMenu, 1, "Startmenüordner auswählen"},
    {kPageStartMenu, 2,
     "Setup legt die &Verknüpfungen in diesem Startmenüordner an. Geben Sie einen Namen ein oder "
     "wählen Sie einen Ordner."},
    {kPageStartMenu, 3, "Startmenü&ordner erstellen"},
    {kPageStartMenu, 4, "Verknüpfungen auf dem &Desktop erstellen"},
    {kPageStartMenu, 5, "Verknüpfungen in der &Schnellstartleiste erstellen"},

    {kPageReady, 0, "Installation von %ProductName%"},
    {kPageReady, 1, "Bereit zur Installation"},
    {kPageReady, 2, "Setup ist bereit, %ProductName% auf Ihrem Computer zu installieren."},
    {kPageReady, 3,
     "Klicken Sie auf Installieren, um zu beginnen, oder auf Zurück, um Einstellungen zu "
     "überprüfen oder zu ändern."},

    {kPageInstalling, 0, "Installation von %ProductName%"},
    {kPageInstalling, 1, "%ProductName% wird installiert"},
    {kPageInstalling, 2,
     "Bitte warten Sie, während Setup %ProductName% auf Ihrem Computer installiert."},
    {kPageInstalling, 3, "Um die Installation abzubrechen, klicken Sie auf Abbrechen."},
    {kPageInstalling, 4, "Dateien werden kopiert..."},
    {kPageInstalling, 5, "Verknüpfungen werden erstellt..."},
    {kPageInstalling, 6, "Registrierung wird aktualisiert..."},
    {kPageInstalling, 7, "Einstellungsdateien werden aktualisiert..."},
    {kPageInstalling, 8, "Dateitypen werden registriert..."},
    {kPageInstalling, 13, "Installation wird abgeschlossen..."},

    {kPageFinish, 0, "Installation von %ProductName%"},
    {kPageFinish, 1, "Installation abgeschlossen"},
    {kPageFinish, 2, "Setup hat die Installation von %ProductName% abgeschlossen."},
    {kPageFinish, 3,
     "Sie können %ProductName% jetzt verwenden. Klicken Sie auf Fertig stellen, um Setup zu "
     "beenden."},
    {kPageFinish, 4, "&Dokumentation öffnen"},
    {kPageFinish, 5, "%ProductName% jetzt &starten"},
    {kPageFinish, 6, "&Computer jetzt neu starten"},
    {kPageFinish, 7,
     "Einige Teile konnten nicht installiert werden. Die während der Installation angezeigten "
     "Meldungen beschreiben die Probleme."},
    {kPageFinish, 8,
     "Windows muss neu gestartet werden, um die Installation abzuschließen. Starten Sie jetzt "
     "neu, oder deaktivieren Sie das Kontrollkästchen unten, um später neu zu starten."},
    {kPageFinish, 9,
     "Einige Dateien wurden noch verwendet. Setup ersetzt sie beim Neustart des Computers."},
    {kPageFinish, 10, "Der Computer muss neu gestartet werden, um die Installation abzuschließen."},

    {kUn, 0, "Deinstallation von %s"},
    {kUn, 1, "Anwendung entfernen"},
    {kUn, 2, "Bitte warten Sie, während %s von Ihrem Computer entfernt wird."},
    {kUn, 3, "Möchten Sie %s wirklich vollständig entfernen?"},
    {kUn, 4, "Deinstallation abgeschlossen"},
    {kUn, 5, "%s wurde erfolgreich von Ihrem Computer entfernt."},
    {kUn, 6,
     "%s wurde von Ihrem Computer entfernt, einige Einträge konnten jedoch nicht entfernt werden."},
    {kUn, 7,
     "Die Deinstallation ist nicht abgeschlossen.\nWenn Sie jetzt beenden, wird das Programm "
     "nicht vollständig deinstalliert.\n\nMöchten Sie wirklich beenden?"},
    {kUn, 8, "Fertig stellen"},
    {kUn, 10, "Abbrechen"},
    {kUn, 11,
     "Einige Ordner enthalten Dateien, die nicht von dieser Installation erstellt wurden und "
     "nicht automatisch gelöscht werden können. Aktivieren Sie das Kontrollkästchen neben jeder "
     "Datei und jedem Ordner, die Sie löschen möchten, und klicken Sie dann auf die Schaltfläche "
     "„Löschen“."},
    {kUn, 12, "&Alle auswählen"},
    {kUn, 13, "&Löschen"},
    {kUn, 14, "Möchten Sie alle ausgewählten Dateien und Ordner wirklich löschen?"},
    {kUn, 15, "Vorgang bestätigen"},
    {kUn, 16, "Dateien werden gelöscht..."},
    {kUn, 17, "Verknüpfungen im Startmenü werden gelöscht..."},
    {kUn, 18, "Registrierungseinträge werden gelöscht..."},
    {kUn, 19, "Programme werden gestartet..."},
    {kUn, 20, "Registrierungsschlüssel werden gelöscht..."},
    {kUn, 21, "DLL-Funktionen werden aufgerufen..."},
    {kUn, 22, "Gemeinsam genutzte Dateien werden gelöscht..."},
    {kUn, 23, "Registrierungswert löschen"},
    {kUn, 24, "Fehler beim Löschen des Registrierungswerts „%s“ im Schlüssel „%s“.\n%s"},
    {kUn, 25, "Registrierungsschlüssel löschen"},
    {kUn, 26, "Fehler beim Löschen des Registrierungsschlüssels „%s“.\n%s"},
    {kUn, 27, "Deinstallationsschritt"},
    {kUn, 28,
     "Dieser Schritt der Deinstallation ist fehlgeschlagen:\n%s\n\n"
     "Die Deinstallation wird fortgesetzt."},
    {kUn, 29, "Datei löschen"},
    {kUn, 30,
     "Die Datei %s\nwird zurzeit von einem anderen Programm verwendet.\n"
     "Möchten Sie erneut versuchen, die Datei zu löschen, statt\nden Computer am Ende der "
     "Deinstallation neu zu starten?"},
    {kUn, 31, "Gemeinsam genutzte Datei gefunden"},
    {kUn, 32,
     "Laut System wird die folgende gemeinsam genutzte Datei von keinem Programm mehr verwendet. "
     "Falls Programme diese Datei doch noch verwenden und sie entfernt wird, funktionieren diese "
     "Programme möglicherweise nicht mehr. Möchten Sie die gemeinsam genutzte Datei wirklich "
     "entfernen?\n\nDateiname: "},
    {kUn, 33, "\nSpeicherort: "},
    {kUn, 34,
     "\n\nWenn Sie diese Datei behalten, schadet das Ihrem System nicht. Wenn Sie nicht sicher "
     "sind, was Sie tun sollen, wird empfohlen, diese gemeinsam genutzte Komponente nicht zu "
     "entfernen."},
    {kUn, 35,
     "Sie haben sich entschieden, alle gemeinsam genutzten Komponenten zu entfernen, die laut "
     "System\nnicht mehr verwendet werden. Dadurch funktionieren einige Programme möglicherweise "
     "nicht mehr,\nwenn sie eine dieser Dateien noch benötigen. Möchten Sie wirklich fortfahren?"},
    {kUn, 36,
     "Diese Programme verwenden Dateien, die entfernt werden müssen:\n\n%s\n\n"
     "Möchten Sie sie jetzt schließen?\nWenn Sie auf Nein klicken, laufen sie weiter, und ihre "
     "Dateien werden beim Neustart des Computers entfernt."},
    {kUn, 37, "&Ja"},
    {kUn, 38, "Ja für &alle"},
    {kUn, 39, "&Nein"},
    {kUn, 40,
     "Um die Deinstallation abzuschließen, muss der Computer neu gestartet werden.\n"
     "Einige Dateien werden verwendet und können erst beim Neustart des Systems gelöscht "
     "werden.\n\nMöchten Sie das System jetzt neu starten?"},
    {kUn, 41,
     "Der Computer konnte nicht neu gestartet werden.\n\nBitte starten Sie ihn selbst neu, um "
     "die Deinstallation abzuschließen."},

    {kPageFilesInUse, 0, "Installation von %ProductName%"},
    {kPageFilesInUse, 1, "Programme in Verwendung"},
    {kPageFilesInUse, 2, "Laufende Programme verwenden Dateien, die Setup ersetzen muss."},
    {kPageFilesInUse, 3,
     "Setup kann diese Programme jetzt schließen und nach Abschluss der Installation wieder "
     "starten:"},
    {kPageFilesInUse, 4, "Automatisch &schließen und danach wieder starten"},
    {kPageFilesInUse, 5, "&Nicht schließen (ein Neustart ist dann erforderlich)"},

    {kSetup, 0,
     "Setup ist noch nicht abgeschlossen. Wenn Sie jetzt beenden, wird das Programm nicht "
     "installiert.\n\nMöchten Sie Setup beenden?"},
    {kSetup, 1,
     "Der Computer muss neu gestartet werden, um die Konfiguration abzuschließen.\n\n"
     "Möchten Sie jetzt neu starten?"},
    {kSetup, 2,
     "Der Installationsordner ist ungültig.\n\nBitte geben Sie den vollständigen Pfad eines "
     "Ordners einschließlich des Laufwerks ein."},
    {kSetup, 3,
     "Der Zielordner ist ungültig.\n\nBitte geben Sie den vollständigen Pfad eines Ordners "
     "einschließlich des Laufwerks ein."},
    {kSetup, 4, "Möchten Sie das Entpacken der Dateien abbrechen?"},
    {kSetup, 5,
     "Einige Dateien, die Setup ersetzen musste, wurden noch verwendet. Sie werden beim Neustart "
     "des Computers ersetzt.\n\nMöchten Sie jetzt neu starten?"},
    {kSetup, 6,
     "Die folgende Datei wird von einem anderen Programm verwendet:\n%s\n\n"
     "Möchten Sie es erneut versuchen? Schließen Sie zuerst dieses Programm, und klicken Sie "
     "dann auf Ja.\nWenn Sie auf Nein klicken, wird die Datei beim Neustart des Computers "
     "ersetzt."},
    {kSetup, 7,
     "Die folgende Datei wird von einem anderen Programm verwendet und kann nicht ersetzt "
     "werden:\n%s"},
    {kSetup, 8,
     "Setup installiert das Programm noch.\nWenn Sie vor dem Abschluss beenden, wird alles "
     "entfernt, was bisher installiert wurde.\n\nMöchten Sie Setup beenden?"},
    {kSetup, 9,
     "Setup ist abgeschlossen, aber einige Teile des Programms konnten nicht installiert "
     "werden.\nDie während der Installation angezeigten Meldungen beschreiben die Probleme."},
    {kSetup, 10, "Bitte starten Sie den Computer neu, bevor Sie %s verwenden."},
    {kSetup, 11,
     "Sie benötigen Administratorrechte, um dieses Programm zu installieren.\n\n"
     "Bitte melden Sie sich als Administrator an, und führen Sie Setup erneut aus."},
    {kSetup, 12,
     "Dieses Programm erfordert Windows NT, Windows 2000, Windows XP oder eine neuere Version "
     "von Windows."},
    {kSetup, 13,
     "Dieses Programm erfordert %s oder eine neuere Version.\n\nSetup kann nicht fortgesetzt "
     "werden."},
    {kSetup, 14, "Dieses Programm erfordert eine 64-Bit-Version von Windows."},
    {kSetup, 15, "Dieses Programm erfordert eine ARM64-Version von Windows."},
    {kSetup, 16,
     "Diese Programme verwenden Dateien, die Setup ersetzen muss:\n\n%s\n\n"
     "Soll Setup sie schließen und anschließend wieder starten?\nWenn Sie auf Nein klicken, "
     "laufen sie weiter, und der Computer muss neu gestartet werden, um die Installation "
     "abzuschließen."},
    {kSetup, 17,
     "Auf diesem Computer ist bereits eine neuere Version von %s installiert (Version %s).\n\n"
     "Setup kann die ältere Version %s nicht darüber installieren. Um diese Version zu "
     "verwenden, deinstallieren Sie zuerst die neuere."},

    {kError, 0,
     "Setup konnte das für die Installation benötigte Fenster nicht erstellen.\n\n"
     "Setup wird jetzt beendet."},
    {kError, 1,
     "Der Zugriff wurde verweigert, als Setup diese Datei lesen wollte:\n%s\n\n"
     "Möchten Sie diese Datei überspringen und fortfahren?\nWenn Sie auf Nein klicken, bricht "
     "Setup ab und entfernt, was bisher installiert wurde."},
    {kError, 2,
     "Sie haben keine Berechtigung, diese Datei zu ändern:\n%s\n\n"
     "Möchten Sie diese Datei überspringen und fortfahren?\nWenn Sie auf Nein klicken, bricht "
     "Setup ab und entfernt, was bisher installiert wurde."},
    {kError, 3,
     "Der Zugriff wurde verweigert, als Setup diese Datei öffnen wollte:\n%s\n\n"
     "Möchten Sie diese Datei überspringen und fortfahren?\nWenn Sie auf Nein klicken, bricht "
     "Setup ab und entfernt, was bisher installiert wurde."},
    {kError, 4,
     "Setup konnte diese Datei nicht zum Lesen öffnen:\n%s\n\n%s\n\n"
     "Möchten Sie diese Datei überspringen und fortfahren?\nWenn Sie auf Nein klicken, bricht "
     "Setup ab und entfernt, was bisher installiert wurde."},
    {kError, 5,
     "Setup konnte diese Datei nicht öffnen, um sie zu ersetzen:\n%s\n\n%s\n\n"
     "Möchten Sie diese Datei überspringen und fortfahren?\nWenn Sie auf Nein klicken, bricht "
     "Setup ab und entfernt, was bisher installiert wurde."},
    {kError, 6,
     "Setup konnte diese Datei nicht öffnen:\n%s\n\n%s\n\nMöchten Sie diese Datei überspringen "
     "und fortfahren?\nWenn Sie auf Nein klicken, bricht Setup ab und entfernt, was bisher "
     "installiert wurde."},
    {kError, 7,
     "Der Zugriff wurde verweigert, als Setup diese Datei erstellen wollte:\n%s\n\n"
     "Möchten Sie diese Datei überspringen und fortfahren?\nWenn Sie auf Nein klicken, bricht "
     "Setup ab und entfernt, was bisher installiert wurde."},
    {kError, 8,
     "Setup konnte die Datei\n%s\nnicht erstellen, weil Sie keine Berechtigung haben, dem "
     "folgenden Ordner Dateien hinzuzufügen:\n%s\n\nMöchten Sie diese Datei überspringen und "
     "fortfahren?\nWenn Sie auf Nein klicken, bricht Setup ab und entfernt, was bisher "
     "installiert wurde."},
    {kError, 9,
     "Der Zugriff wurde verweigert, als Setup diese Datei erstellen und öffnen wollte:\n"
     "%s\n\nMöchten Sie diese Datei überspringen und fortfahren?\n"
     "Wenn Sie auf Nein klicken, bricht Setup ab und entfernt, was bisher installiert wurde."},
    {kError, 10,
     "Setup konnte diese Datei nicht zum Lesen erstellen:\n%s\n\n%s\n\n"
     "Möchten Sie diese Datei überspringen und fortfahren?\nWenn Sie auf Nein klicken, bricht "
     "Setup ab und entfernt, was bisher installiert wurde."},
    {kError, 11,
     "Setup konnte diese Datei nicht erstellen:\n%s\n\n%s\n\nMöchten Sie diese Datei "
     "überspringen und fortfahren?\nWenn Sie auf Nein klicken, bricht Setup ab und entfernt, was "
     "bisher installiert wurde."},
    {kError, 12,
     "Setup konnte diese Datei nicht erstellen und öffnen:\n%s\n\n%s\n\n"
     "Möchten Sie diese Datei überspringen und fortfahren?\nWenn Sie auf Nein klicken, bricht "
     "Setup ab und entfernt, was bisher installiert wurde."},
    {kError, 13,
     "Die folgende Datei wird verwendet. Setup konnte die temporäre Datei nicht erstellen,\n"
     "die benötigt wird, um sie beim Neustart des Computers zu ersetzen:\n%s\n\n%s\n\n"
     "Möchten Sie diese Datei überspringen und fortfahren?\nWenn Sie auf Nein klicken, bricht "
     "Setup ab und entfernt, was bisher installiert wurde."},
    {kError, 14,
     "Auf dem Datenträger ist nicht genügend Speicherplatz, um diese Datei zu schreiben:\n"
     "%s\n\nGeben Sie Speicherplatz frei, und klicken Sie dann auf OK, um es erneut zu "
     "versuchen.\nKlicken Sie auf Abbrechen, um Setup zu beenden und zu entfernen, was bisher "
     "installiert wurde."},
    {kError, 15,
     "Setup konnte diese Datei nicht schreiben:\n%s\n\n%s\n\nMöchten Sie diese Datei "
     "überspringen und fortfahren?\nWenn Sie auf Nein klicken, bricht Setup ab und entfernt, was "
     "bisher installiert wurde."},
    {kError, 16, "Setup konnte diese Datei nicht lesen:\n%s"},
    {kError, 17, "Setup konnte diese Datei nicht verschieben:\n%s"},
    {kError, 18, "Setup konnte die Attribute dieser Datei nicht lesen:\n%s"},
    {kError, 19, "Setup konnte die Attribute dieser Datei nicht festlegen:\n%s"},
    {kError, 20, "Setup konnte die Größe dieser Datei nicht ermitteln:\n%s"},
    {kError, 21,
     "Setup konnte diesen Ordner nicht erstellen:\n%s\n\n%s\n\nMöchten Sie die Installation "
     "trotzdem fortsetzen?\nWenn Sie auf Nein klicken, bricht Setup ab und entfernt, was bisher "
     "installiert wurde."},
    {kError, 22, "Setup konnte diese Datei nicht in den Arbeitsspeicher laden:\n%s"},
    {kError, 23, "Setup konnte den Inhalt dieser Datei nicht in den Arbeitsspeicher lesen:\n%s"},
    {kError, 24,
     "Setup konnte diesen Registrierungsschlüssel nicht erstellen:\n%s\n\n%s\n\n"
     "Möchten Sie die Installation trotzdem fortsetzen?\nWenn Sie auf Nein klicken, bricht Setup "
     "ab und entfernt, was bisher installiert wurde."},
    {kError, 25,
     "Setup konnte den Registrierungswert „%s“ nicht in den folgenden Schlüssel schreiben:\n"
     "%s\n\n%s\n\nMöchten Sie die Installation trotzdem fortsetzen?\n"
     "Wenn Sie auf Nein klicken, bricht Setup ab und entfernt, was bisher installiert wurde."},
    {kError, 26,
     "Sie haben keine Berechtigung, die von Setup benötigten Änderungen in der Registrierung "
     "vorzunehmen.\n\nMöchten Sie die Installation trotzdem fortsetzen?\n"
     "Wenn Sie auf Nein klicken, bricht Setup ab und entfernt, was bisher installiert wurde."},
    {kError, 27,
     "Setup konnte diese Verknüpfung nicht erstellen:\n%s\n\nMöchten Sie die Installation "
     "trotzdem fortsetzen?\nWenn Sie auf Nein klicken, bricht Setup ab und entfernt, was bisher "
     "installiert wurde."},
    {kError, 28,
     "\nDiese Komponente konnte nicht registriert werden, daher sind einige Funktionen "
     "möglicherweise nicht verfügbar.\n\nMöchten Sie die Installation trotzdem fortsetzen?\n"
     "Wenn Sie auf Nein klicken, bricht Setup ab und entfernt, was bisher installiert wurde."},
    {kError, 29,
     "Setup konnte den Computer nicht neu starten.\n\nBitte starten Sie ihn selbst neu, um die "
     "Installation abzuschließen."},
    {kError, 30,
     "Setup konnte den Dateityp %s nicht registrieren.\n\nMöchten Sie die Installation trotzdem "
     "fortsetzen?\nWenn Sie auf Nein klicken, bricht Setup ab und entfernt, was bisher "
     "installiert wurde."},
    {kError, 31,
     "Das Laufwerk des Zielordners ist nicht vorhanden.\n\nBitte wählen Sie einen anderen Ordner."},
    {kError, 32,
     "Sie haben keine Berechtigung, im Zielordner Dateien zu erstellen.\n\n"
     "Bitte wählen Sie einen anderen Ordner."},
    {kError, 33,
     "Sie haben keine Berechtigung, im folgenden Ordner Unterordner zu erstellen:\n%s\n\n"
     "Bitte wählen Sie einen anderen Zielordner."},
    {kError, 34,
     "Sie haben keine Berechtigung, das Laufwerk des Zielordners zu verwenden.\n\n"
     "Bitte wählen Sie einen anderen Ordner."},
    {kError, 35,
     "Setup konnte den Ordner\n%s\nnicht erstellen, weil Sie keine Berechtigung haben, im "
     "folgenden Ordner Unterordner zu erstellen:\n%s\n\nMöchten Sie die Installation trotzdem "
     "fortsetzen?\nWenn Sie auf Nein klicken, bricht Setup ab und entfernt, was bisher "
     "installiert wurde."},
    {kError, 36,
     "Setup konnte den Ordner\n%s\nnicht erstellen, weil der Zugriff auf den Ordner\n"
     "%s\nverweigert wurde.\n\nMöchten Sie die Installation trotzdem fortsetzen?\n"
     "Wenn Sie auf Nein klicken, bricht Setup ab und entfernt, was bisher installiert wurde."},
    {kError, 37,
     "Setup konnte den Ordner\n%s\nnicht erstellen, weil der Zugriff auf das Laufwerk verweigert "
     "wurde.\n\nMöchten Sie die Installation trotzdem fortsetzen?\n"
     "Wenn Sie auf Nein klicken, bricht Setup ab und entfernt, was bisher installiert wurde."},
    {kError, 38,
     "Setup konnte den Ordner\n%s\nnicht erstellen, weil Sie keine Berechtigung haben, auf "
     "diesem Laufwerk Ordner zu erstellen.\n\nMöchten Sie die Installation trotzdem fortsetzen?\n"
     "Wenn Sie auf Nein klicken, bricht Setup ab und entfernt, was bisher installiert wurde."},
    {kError, 39,
     "Auf dem Ziellaufwerk ist nicht genügend freier Speicherplatz vorhanden.\n\n"
     "Bitte geben Sie Speicherplatz frei, oder wählen Sie einen anderen Ordner."},
    {kError, 40,
     "Setup konnte diese Programmdatei nicht ausführen:\n%s\n\n%s\n\n"
     "Möchten Sie die Installation trotzdem fortsetzen?\nWenn Sie auf Nein klicken, bricht Setup "
     "ab und entfernt, was bisher installiert wurde."},
    {kError, 41,
     "Diese Programmdatei wurde mit einem Exitcode beendet, der einen Fehler meldet:\n"
     "%s\n\nExitcode: %s\n\nMöchten Sie die Installation trotzdem fortsetzen?\n"
     "Wenn Sie auf Nein klicken, bricht Setup ab und entfernt, was bisher installiert wurde."},
    {kError, 42,
     "Setup konnte die Funktion %s in der folgenden Datei nicht aufrufen:\n%s\n\n%s\n\n"
     "Möchten Sie die Installation trotzdem fortsetzen?\nWenn Sie auf Nein klicken, bricht Setup "
     "ab und entfernt, was bisher installiert wurde."},

    {kButton, 0, "< &Zurück"},
    {kButton, 1, "&Weiter >"},
    {kButton, 2, "Abbrechen"},
    {kButton, 3, "&Installieren"},
    {kButton, 4, "&Beenden"},
    {kButton, 5, "&Ja"},
    {kButton, 6, "&Nein"},
    {kButton, 7, "&Ändern..."},
    {kButton, 8, "&Fertig stellen"},
    {kButton, 9, "&Entpacken"},
    {kButton, 10, "OK"},
};

}  // namespace

std::span<const BuiltinText> germanTexts() {
    return kTexts;
}

}  // namespace kelvara::build
