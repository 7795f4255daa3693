// French texts of the installer and the uninstaller.
#include "kelvara-build/languages/builtin_languages.h"

namespace kelvara::build {
namespace {

constexpr int kSetup = kTableSetupMessages;
constexpr int kError = kTableErrorMessages;
constexpr int kButton = kTableButtonLabels;
constexpr int kUn = kTableUninstaller;

constexpr BuiltinText kTexts[] = {
    {kPageLanguage, 0, "Installation de %ProductName%"},
    {kPageLanguage, 1, "Sélection de la langue d'installation"},
    {kPageLanguage, 2, "Choisissez la langue à utiliser pendant l'installation."},
    {kPageLanguage, 3, "&Langue :"},

    {kPageWelcome, 0, "Installation de %ProductName%"},
    {kPageWelcome, 1, "Bienvenue dans l'installation de %ProductName%"},
    {kPageWelcome, 2, "Cet assistant va installer %ProductName% sur votre ordinateur."},
    {kPageWelcome, 3, "Il vous guidera en quelques étapes rapides."},
    {kPageWelcome, 4,
     "Nous vous recommandons de fermer tous les autres programmes avant de continuer."},
    {kPageWelcome, 6,
     "Cliquez sur Suivant pour continuer, ou sur Annuler pour quitter l'installation."},
    {kPageWelcome, 7, "Bienvenue dans l'installation"},

    {kPageLicense, 0, "Installation de %ProductName%"},
    {kPageLicense, 1, "Contrat de licence"},
    {kPageLicense, 2, "Veuillez lire le &contrat de licence suivant."},
    {kPageLicense, 3, "Acceptez-vous les termes de ce contrat de licence ?"},

    {kPageReadme, 0, "Installation de %ProductName%"},
    {kPageReadme, 1, "Informations importantes"},
    {kPageReadme, 2, "Veuillez lire les &informations importantes suivantes."},

    {kPageComponents, 0, "Installation de %ProductName%"},
    {kPageComponents, 1, "Choix des composants"},
    {kPageComponents, 2, "Choisissez les composants de %ProductName% à installer."},
    {kPageComponents, 3, "&Type d'installation :"},
    {kPageComponents, 4, "&Composants :"},
    {kPageComponents, 5, "Espace requis :"},
    {kPageComponents, 6, "Espace disponible sur le lecteur %DISK% :"},
    {kPageComponents, 9, "Sélectionnez un composant pour afficher sa description."},
    {kPageComponents, 14, "Description du composant"},

    {kPageScope, 0, "Installation de %ProductName%"},
    {kPageScope, 1, "Choix des utilisateurs"},
    {kPageScope, 2, "Choisissez pour quels utilisateurs %ProductName% doit être installé."},
    {kPageScope, 3, "Installer pour &tous les utilisateurs de cet ordinateur"},
    {kPageScope, 4,
     "Le programme sera accessible à tous les utilisateurs de cet ordinateur. Le programme "
     "d'installation a besoin pour cela de droits d'administrateur."},
    {kPageScope, 5, "Installer uniquement pour &moi"},
    {kPageScope, 6,
     "Vous seul pourrez utiliser le programme. Il sera installé dans vos propres dossiers, et le "
     "programme d'installation n'aura pas besoin de droits d'administrateur."},

    {kPageDestination, 0, "Installation de %ProductName%"},
    {kPageDestination, 1, "Choix de l'emplacement d'installation"},
    {kPageDestination, 2,
     "Le programme d'installation va installer %ProductName% dans le dossier suivant. Pour "
     "utiliser un autre dossier, tapez son chemin ou cliquez sur Parcourir."},
    {kPageDestination, 3, "&Dossier de destination"},
    {kPageDestination, 4, "Sélectionnez le dossier dans lequel installer le programme :"},
    {kPageDestination, 5, "Espace requis :"},
    {kPageDestination, 6, "Espace disponible sur le lecteur %DISK% :"},

    {kPageTasks, 0, "Installation de %ProductName%"},
    {kPageTasks, 1, "Tâches supplémentaires"},
    {kPageTasks, 2, "Choisissez les autres opérations à effectuer, puis cliquez sur Suivant."},
    {kPageTasks, 3, "&Tâches supplémentaires :"},
    {kPageTasks, 9, "Sélectionnez une tâche pour afficher sa description."},

    {kPageStartMenu, 0, "Installation de %ProductName%"},
    {kPageStartMenu, 1, "Choix du dossier du menu Démarrer"},
    {kPageStartMenu, 2,
     "Les &raccourcis seront créés dans ce dossier du menu Démarrer. Tapez un nom ou choisissez un "
     "dossier existant."},
    {kPageStartMenu, 3, "Créer un &dossier dans le menu Démarrer"},
    {kPageStartMenu, 4, "Créer des raccourcis sur le &Bureau"},
    {kPageStartMenu, 5, "Créer des raccourcis dans la barre &Lancement rapide"},

    {kPageReady, 0, "Installation de %ProductName%"},
    {kPageReady, 1, "Prêt à installer"},
    {kPageReady, 2,
     "Le programme d'installation est prêt à installer %ProductName% sur votre ordinateur."},
    {kPageReady, 3,
     "Cliquez sur Installer pour commencer, ou sur Précédent pour revoir ou modifier des "
     "paramètres."},

    {kPageInstalling, 0, "Installation de %ProductName%"},
    {kPageInstalling, 1, "Installation de %ProductName% en cours"},
    {kPageInstalling, 2,
     "Veuillez patienter pendant l'installation de %ProductName% sur votre ordinateur."},
    {kPageInstalling, 3, "Pour arrêter l'installation, cliquez sur Annuler."},
    {kPageInstalling, 4, "Copie des fichiers..."},
    {kPageInstalling, 5, "Création des raccourcis..."},
    {kPageInstalling, 6, "Mise à jour du Registre..."},
    {kPageInstalling, 7, "Mise à jour des fichiers de paramètres..."},
    {kPageInstalling, 8, "Enregistrement des types de fichiers..."},
    {kPageInstalling, 13, "Finalisation de l'installation..."},

    {kPageFinish, 0, "Installation de %ProductName%"},
    {kPageFinish, 1, "Installation terminée"},
    {kPageFinish, 2, "L'installation de %ProductName% est terminée."},
    {kPageFinish, 3,
     "Vous pouvez maintenant utiliser %ProductName%. Cliquez sur Terminer pour fermer le "
     "programme d'installation."},
    {kPageFinish, 4, "&Ouvrir la documentation"},
    {kPageFinish, 5, "&Lancer %ProductName% maintenant"},
    {kPageFinish, 6, "&Redémarrer l'ordinateur maintenant"},
    {kPageFinish, 7,
     "Certains éléments n'ont pas pu être installés. Les messages affichés pendant "
     "l'installation décrivent les problèmes."},
    {kPageFinish, 8,
     "Windows doit être redémarré pour terminer l'installation. Redémarrez maintenant, ou "
     "décochez la case ci-dessous pour redémarrer plus tard."},
    {kPageFinish, 9,
     "Certains fichiers étaient en cours d'utilisation. Le programme d'installation les "
     "remplacera au redémarrage de l'ordinateur."},
    {kPageFinish, 10, "L'ordinateur doit être redémarré pour terminer l'installation."},

    {kUn, 0, "Désinstallation de %s"},
    {kUn, 1, "Suppression de l'application"},
    {kUn, 2, "Veuillez patienter pendant la suppression de %s de votre ordinateur."},
    {kUn, 3, "Voulez-vous vraiment supprimer complètement %s ?"},
    {kUn, 4, "Désinstallation terminée"},
    {kUn, 5, "%s a été supprimé de votre ordinateur avec succès."},
    {kUn, 6,
     "%s a été supprimé de votre ordinateur, mais certaines de ses entrées n'ont pas pu être "
     "supprimées."},
    {kUn, 7,
     "La désinstallation n'est pas terminée.\nSi vous quittez maintenant, le programme ne sera "
     "pas correctement désinstallé.\n\nVoulez-vous vraiment quitter ?"},
    {kUn, 8, "Terminer"},
    {kUn, 10, "Annuler"},
    {kUn, 11,
     "Certains dossiers contiennent des fichiers qui n'ont pas été créés par cette installation "
     "et qui ne peuvent pas être supprimés automatiquement. Cochez la case en regard de chaque "
     "fichier ou dossier à supprimer, puis cliquez sur le bouton « Supprimer »."},
    {kUn, 12, "&Tout sélectionner"},
    {kUn, 13, "&Supprimer"},
    {kUn, 14, "Voulez-vous vraiment supprimer tous les fichiers et dossiers sélectionnés ?"},
    {kUn, 15, "Confirmer l'opération"},
    {kUn, 16, "Suppression des fichiers..."},
    {kUn, 17, "Suppression des raccourcis du menu Démarrer..."},
    {kUn, 18, "Suppression des entrées du Registre..."},
    {kUn, 19, "Lancement des programmes..."},
    {kUn, 20, "Suppression des clés du Registre..."},
    {kUn, 21, "Appel des fonctions de DLL..."},
    {kUn, 22, "Suppression des fichiers partagés..."},
    {kUn, 23, "Suppression d'une valeur du Registre"},
    {kUn, 24, "Erreur lors de la suppression de la valeur « %s » de la clé « %s ».\n%s"},
    {kUn, 25, "Suppression d'une clé du Registre"},
    {kUn, 26, "Erreur lors de la suppression de la clé du Registre « %s ».\n%s"},
    {kUn, 27, "Étape de désinstallation"},
    {kUn, 28,
     "Cette étape de la désinstallation a échoué :\n%s\n\nLa désinstallation se poursuit."},
    {kUn, 29, "Suppression d'un fichier"},
    {kUn, 30,
     "Le fichier %s\nest actuellement utilisé par une autre application.\n"
     "Voulez-vous réessayer de supprimer le fichier, plutôt que\nde redémarrer l'ordinateur à la "
     "fin de la désinstallation ?"},
    {kUn, 31, "Fichier partagé détecté"},
    {kUn, 32,
     "D'après le système, le fichier partagé suivant n'est plus utilisé par aucun programme. Si "
     "des programmes utilisent encore ce fichier et qu'il est supprimé, ils risquent de ne plus "
     "fonctionner. Voulez-vous vraiment supprimer le fichier partagé ?\n\nNom du fichier : "},
    {kUn, 33, "\nEmplacement : "},
    {kUn, 34,
     "\n\nConserver ce fichier ne présente aucun risque pour votre système. Si vous ne savez pas "
     "quoi faire, il est conseillé de ne pas supprimer ce composant partagé."},
    {kUn, 35,
     "Vous avez choisi de supprimer tous les composants partagés que le système indique\n"
     "comme n'étant plus utilisés. Certains programmes risquent de ne plus fonctionner\n"
     "s'ils ont encore besoin de l'un de ces fichiers. Voulez-vous vraiment continuer ?"},
    {kUn, 36,
     "Ces programmes utilisent des fichiers qui doivent être supprimés :\n\n%s\n\n"
     "Voulez-vous les fermer maintenant ?\nSi vous cliquez sur Non, ils continuent de "
     "s'exécuter, et leurs fichiers seront supprimés au redémarrage de l'ordinateur."},
    {kUn, 37, "&Oui"},
    {kUn, 38, "Oui pour &tout"},
    {kUn, 39, "&Non"},
    {kUn, 40,
     "Pour terminer la désinstallation, l'ordinateur doit être redémarré.\n"
     "Certains fichiers sont en cours d'utilisation et ne peuvent être supprimés qu'au "
     "redémarrage du système.\n\nVoulez-vous redémarrer le système maintenant ?"},
    {kUn, 41,
     "L'ordinateur n'a pas pu être redémarré.\n\nVeuillez le redémarrer vous-même pour terminer "
     "la désinstallation."},

    {kPageFilesInUse, 0, "Installation de %ProductName%"},
    {kPageFilesInUse, 1, "Programmes en cours d'utilisation"},
    {kPageFilesInUse, 2,
     "Des programmes en cours d'exécution utilisent des fichiers que le programme d'installation "
     "doit remplacer."},
    {kPageFilesInUse, 3,
     "Le programme d'installation peut fermer ces programmes maintenant et les relancer une fois "
     "l'installation terminée :"},
    {kPageFilesInUse, 4, "&Les fermer automatiquement et les relancer"},
    {kPageFilesInUse, 5, "&Ne pas les fermer (un redémarrage sera nécessaire)"},

    {kSetup, 0,
     "L'installation n'est pas terminée. Si vous quittez maintenant, le programme ne sera pas "
     "installé.\n\nVoulez-vous quitter l'installation ?"},
    {kSetup, 1,
     "Vous devez redémarrer l'ordinateur pour terminer la configuration.\n\n"
     "Voulez-vous redémarrer maintenant ?"},
    {kSetup, 2,
     "Le dossier d'installation n'est pas valide.\n\nVeuillez entrer le chemin complet d'un "
     "dossier, lecteur compris."},
    {kSetup, 3,
     "Le dossier de destination n'est pas valide.\n\nVeuillez entrer le chemin complet d'un "
     "dossier, lecteur compris."},
    {kSetup, 4, "Voulez-vous arrêter l'extraction des fichiers ?"},
    {kSetup, 5,
     "Certains fichiers que le programme d'installation devait remplacer étaient en cours "
     "d'utilisation. Ils seront remplacés au redémarrage de l'ordinateur.\n\n"
     "Voulez-vous redémarrer maintenant ?"},
    {kSetup, 6,
     "Le fichier suivant est utilisé par un autre programme :\n%s\n\n"
     "Voulez-vous réessayer ? Fermez d'abord ce programme, puis cliquez sur Oui.\n"
     "Si vous cliquez sur Non, le fichier sera remplacé au redémarrage de l'ordinateur."},
    {kSetup, 7,
     "Le fichier suivant est utilisé par un autre programme et ne peut pas être remplacé :\n%s"},
    {kSetup, 8,
     "L'installation du programme est en cours.\nSi vous quittez avant la fin, tout ce qui a "
     "déjà été installé sera supprimé.\n\nVoulez-vous quitter l'installation ?"},
    {kSetup, 9,
     "L'installation est terminée, mais certains éléments du programme n'ont pas pu être "
     "installés.\nLes messages affichés pendant l'installation décrivent les problèmes."},
    {kSetup, 10, "Veuillez redémarrer l'ordinateur avant d'utiliser %s."},
    {kSetup, 11,
     "Vous devez disposer de droits d'administrateur pour installer ce programme.\n\n"
     "Veuillez ouvrir une session en tant qu'administrateur et relancer l'installation."},
    {kSetup, 12,
     "Ce programme nécessite Windows NT, Windows 2000, Windows XP ou une version ultérieure de "
     "Windows."},
    {kSetup, 13,
     "Ce programme nécessite %s ou une version ultérieure.\n\nL'installation ne peut pas "
     "continuer."},
    {kSetup, 14, "Ce programme nécessite une version 64 bits de Windows."},
    {kSetup, 15, "Ce programme nécessite une version ARM64 de Windows."},
    {kSetup, 16,
     "Ces programmes utilisent des fichiers que le programme d'installation doit remplacer :\n\n"
     "%s\n\nVoulez-vous que le programme d'installation les ferme, puis les relance ?\n"
     "Si vous cliquez sur Non, ils continuent de s'exécuter, et l'ordinateur devra être "
     "redémarré pour terminer l'installation."},
    {kSetup, 17,
     "Une version plus récente de %s est déjà installée sur cet ordinateur (version %s).\n\n"
     "Le programme d'installation ne peut pas installer l'ancienne version %s par-dessus. Pour "
     "utiliser cette version, désinstallez d'abord la plus récente."},

    {kError, 0,
     "Le programme d'installation n'a pas pu créer la fenêtre nécessaire à l'installation.\n\n"
     "Le programme d'installation va maintenant se fermer."},
    {kError, 1,
     "L'accès a été refusé lorsque le programme d'installation a tenté de lire ce fichier :\n"
     "%s\n\nVoulez-vous ignorer ce fichier et continuer ?\nSi vous cliquez sur Non, le programme "
     "d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 2,
     "Vous n'avez pas l'autorisation de modifier ce fichier :\n%s\n\n"
     "Voulez-vous ignorer ce fichier et continuer ?\nSi vous cliquez sur Non, le programme "
     "d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 3,
     "L'accès a été refusé lorsque le programme d'installation a tenté d'ouvrir ce fichier :\n"
     "%s\n\nVoulez-vous ignorer ce fichier et continuer ?\nSi vous cliquez sur Non, le programme "
     "d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 4,
     "Le programme d'installation n'a pas pu ouvrir ce fichier en lecture :\n%s\n\n"
     "%s\n\nVoulez-vous ignorer ce fichier et continuer ?\nSi vous cliquez sur Non, le programme "
     "d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 5,
     "Le programme d'installation n'a pas pu ouvrir ce fichier pour le remplacer :\n%s\n\n"
     "%s\n\nVoulez-vous ignorer ce fichier et continuer ?\nSi vous cliquez sur Non, le programme "
     "d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 6,
     "Le programme d'installation n'a pas pu ouvrir ce fichier :\n%s\n\n%s\n\n"
     "Voulez-vous ignorer ce fichier et continuer ?\nSi vous cliquez sur Non, le programme "
     "d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 7,
     "L'accès a été refusé lorsque le programme d'installation a tenté de créer ce fichier :\n"
     "%s\n\nVoulez-vous ignorer ce fichier et continuer ?\nSi vous cliquez sur Non, le programme "
     "d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 8,
     "Le programme d'installation n'a pas pu créer le fichier\n%s\n"
     "car vous n'avez pas l'autorisation d'ajouter des fichiers au dossier\n%s\n\n"
     "Voulez-vous ignorer ce fichier et continuer ?\nSi vous cliquez sur Non, le programme "
     "d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 9,
     "L'accès a été refusé lorsque le programme d'installation a tenté de créer et d'ouvrir ce "
     "fichier :\n%s\n\nVoulez-vous ignorer ce fichier et continuer ?\n"
     "Si vous cliquez sur Non, le programme d'installation s'arrête et supprime ce qu'il a déjà "
     "installé."},
    {kError, 10,
     "Le programme d'installation n'a pas pu créer ce fichier pour le lire :\n%s\n\n"
     "%s\n\nVoulez-vous ignorer ce fichier et continuer ?\nSi vous cliquez sur Non, le programme "
     "d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 11,
     "Le programme d'installation n'a pas pu créer ce fichier :\n%s\n\n%s\n\n"
     "Voulez-vous ignorer ce fichier et continuer ?\nSi vous cliquez sur Non, le programme "
     "d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 12,
     "Le programme d'installation n'a pas pu créer et ouvrir ce fichier :\n%s\n\n"
     "%s\n\nVoulez-vous ignorer ce fichier et continuer ?\nSi vous cliquez sur Non, le programme "
     "d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 13,
     "Le fichier suivant est en cours d'utilisation. Le programme d'installation n'a pas pu "
     "créer le fichier temporaire\nnécessaire pour le remplacer au redémarrage de "
     "l'ordinateur :\n%s\n\n%s\n\nVoulez-vous ignorer ce fichier et continuer ?\n"
     "Si vous cliquez sur Non, le programme d'installation s'arrête et supprime ce qu'il a déjà "
     "installé."},
    {kError, 14,
     "L'espace disque est insuffisant pour écrire ce fichier :\n%s\n\n"
     "Libérez de l'espace disque, puis cliquez sur OK pour réessayer.\n"
     "Cliquez sur Annuler pour arrêter l'installation et supprimer ce qui a déjà été installé."},
    {kError, 15,
     "Le programme d'installation n'a pas pu écrire ce fichier :\n%s\n\n%s\n\n"
     "Voulez-vous ignorer ce fichier et continuer ?\nSi vous cliquez sur Non, le programme "
     "d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 16, "Le programme d'installation n'a pas pu lire ce fichier :\n%s"},
    {kError, 17, "Le programme d'installation n'a pas pu déplacer ce fichier :\n%s"},
    {kError, 18, "Le programme d'installation n'a pas pu lire les attributs de ce fichier :\n%s"},
    {kError, 19,
     "Le programme d'installation n'a pas pu définir les attributs de ce fichier :\n%s"},
    {kError, 20, "Le programme d'installation n'a pas pu déterminer la taille de ce fichier :\n%s"},
    {kError, 21,
     "Le programme d'installation n'a pas pu créer ce dossier :\n%s\n\n%s\n\n"
     "Voulez-vous quand même poursuivre l'installation ?\nSi vous cliquez sur Non, le programme "
     "d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 22, "Le programme d'installation n'a pas pu charger ce fichier en mémoire :\n%s"},
    {kError, 23,
     "Le programme d'installation n'a pas pu lire le contenu de ce fichier en mémoire :\n%s"},
    {kError, 24,
     "Le programme d'installation n'a pas pu créer cette clé du Registre :\n%s\n\n"
     "%s\n\nVoulez-vous quand même poursuivre l'installation ?\nSi vous cliquez sur Non, le "
     "programme d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 25,
     "Le programme d'installation n'a pas pu écrire la valeur de Registre « %s » dans la clé\n"
     "%s\n\n%s\n\nVoulez-vous quand même poursuivre l'installation ?\n"
     "Si vous cliquez sur Non, le programme d'installation s'arrête et supprime ce qu'il a déjà "
     "installé."},
    {kError, 26,
     "Vous n'avez pas l'autorisation d'apporter au Registre les modifications nécessaires à "
     "l'installation.\n\nVoulez-vous quand même poursuivre l'installation ?\n"
     "Si vous cliquez sur Non, le programme d'installation s'arrête et supprime ce qu'il a déjà "
     "installé."},
    {kError, 27,
     "Le programme d'installation n'a pas pu créer ce raccourci :\n%s\n\n"
     "Voulez-vous quand même poursuivre l'installation ?\nSi vous cliquez sur Non, le programme "
     "d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 28,
     "\nCe composant n'a pas pu être enregistré ; certaines fonctionnalités risquent donc de ne "
     "pas fonctionner.\n\nVoulez-vous quand même poursuivre l'installation ?\n"
     "Si vous cliquez sur Non, le programme d'installation s'arrête et supprime ce qu'il a déjà "
     "installé."},
    {kError, 29,
     "Le programme d'installation n'a pas pu redémarrer l'ordinateur.\n\n"
     "Veuillez le redémarrer vous-même pour terminer l'installation."},
    {kError, 30,
     "Le programme d'installation n'a pas pu enregistrer le type de fichier %s.\n\n"
     "Voulez-vous quand même poursuivre l'installation ?\nSi vous cliquez sur Non, le programme "
     "d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 31,
     "Le lecteur du dossier de destination n'existe pas.\n\nVeuillez choisir un autre dossier."},
    {kError, 32,
     "Vous n'avez pas l'autorisation de créer des fichiers dans le dossier de destination.\n\n"
     "Veuillez choisir un autre dossier."},
    {kError, 33,
     "Vous n'avez pas l'autorisation de créer des dossiers dans\n%s\n\n"
     "Veuillez choisir un autre dossier de destination."},
    {kError, 34,
     "Vous n'avez pas l'autorisation d'utiliser le lecteur du dossier de destination.\n\n"
     "Veuillez choisir un autre dossier."},
    {kError, 35,
     "Le programme d'installation n'a pas pu créer le dossier\n%s\n"
     "car vous n'avez pas l'autorisation de créer des dossiers dans\n%s\n\n"
     "Voulez-vous quand même poursuivre l'installation ?\nSi vous cliquez sur Non, le programme "
     "d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 36,
     "Le programme d'installation n'a pas pu créer le dossier\n%s\ncar l'accès au dossier\n%s\n"
     "a été refusé.\n\nVoulez-vous quand même poursuivre l'installation ?\n"
     "Si vous cliquez sur Non, le programme d'installation s'arrête et supprime ce qu'il a déjà "
     "installé."},
    {kError, 37,
     "Le programme d'installation n'a pas pu créer le dossier\n%s\n"
     "car l'accès au lecteur a été refusé.\n\nVoulez-vous quand même poursuivre "
     "l'installation ?\nSi vous cliquez sur Non, le programme d'installation s'arrête et "
     "supprime ce qu'il a déjà installé."},
    {kError, 38,
     "Le programme d'installation n'a pas pu créer le dossier\n%s\n"
     "car vous n'avez pas l'autorisation de créer des dossiers sur ce lecteur.\n\n"
     "Voulez-vous quand même poursuivre l'installation ?\nSi vous cliquez sur Non, le programme "
     "d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 39,
     "L'espace libre sur le lecteur de destination est insuffisant.\n\n"
     "Veuillez libérer de l'espace ou choisir un autre dossier."},
    {kError, 40,
     "Le programme d'installation n'a pas pu exécuter ce fichier programme :\n%s\n\n"
     "%s\n\nVoulez-vous quand même poursuivre l'installation ?\nSi vous cliquez sur Non, le "
     "programme d'installation s'arrête et supprime ce qu'il a déjà installé."},
    {kError, 41,
     "Ce fichier programme s'est terminé avec un code de sortie signalant un échec :\n%s\n\n"
     "Code de sortie : %s\n\nVoulez-vous quand même poursuivre l'installation ?\n"
     "Si vous cliquez sur Non, le programme d'installation s'arrête et supprime ce qu'il a déjà "
     "installé."},
    {kError, 42,
     "Le programme d'installation n'a pas pu appeler la fonction %s dans le fichier\n%s\n\n"
     "%s\n\nVoulez-vous quand même poursuivre l'installation ?\nSi vous cliquez sur Non, le "
     "programme d'installation s'arrête et supprime ce qu'il a déjà installé."},

    {kButton, 0, "< &Précédent"},
    {kButton, 1, "&Suivant >"},
    {kButton, 2, "Annuler"},
    {kButton, 3, "&Installer"},
    {kButton, 4, "&Quitter"},
    {kButton, 5, "&Oui"},
    {kButton, 6, "&Non"},
    {kButton, 7, "Pa&rcourir..."},
    {kButton, 8, "&Terminer"},
    {kButton, 9, "&Extraire"},
    {kButton, 10, "OK"},
};

}  // namespace

std::span<const BuiltinText> frenchTexts() {
    return kTexts;
}

}  // namespace kelvara::build
