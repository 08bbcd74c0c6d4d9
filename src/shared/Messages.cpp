#include "shared/Messages.h"

#include "shared/Version.h"

#include <QtGlobal>

#include <algorithm>
#include <iterator>

namespace app {

namespace {

#define PICTELLE_STR2(x) #x
#define PICTELLE_STR(x) PICTELLE_STR2(x)
#if defined(__clang__)
#define PICTELLE_COMPILER "Clang " __clang_version__
#elif defined(__GNUC__)
#define PICTELLE_COMPILER                                                                          \
    "GCC " PICTELLE_STR(__GNUC__) "." PICTELLE_STR(__GNUC_MINOR__) "." PICTELLE_STR(               \
        __GNUC_PATCHLEVEL__)
#else
#define PICTELLE_COMPILER "C++20"
#endif

struct Entry {
    int number;
    const char* text; // UTF-8
};

// Sorted by number. 123 is absent on purpose, and nothing lies between 160 and 207.
constexpr Entry table[] = {
    // The maintainer's address, set when the program is built; empty when none was given.
    {100, ContactAddress},
    {101, "|1 - Recherche du matériel"},
    {102, "Chemin de Microsoft Train Simulator (ou dossier de stockage)|1"},
    {103, "Veuillez patientez un instant,"},
    {104, "Quitter"},
    {105, "A propos de |1"},
    {106, "|1 - Créateur de pictelles pour Rametta"},
    {107, "Créer"},
    {108, "chargement en cours..."},
    {109, "A propos de sfCanvas"},
    {110, "Recherche des fichiers de motrices..."},
    {111, "Recherche des fichiers de wagons..."},
    {112, "  -  Sélectionné |1"},
    {113, "  -  |1 fichiers sélectionnés."},
    {114, "Annuler"},
    {115, "Déselectionner tout"},
    {116, "Sélectionner tout"},
    {117, "A propos de |1"},
    {118, "Infos système..."},
    {119, "Version |1"},
    {120, "|1Développement : |2Graphismes : |3"},
    {121, PICTELLE_COMPILER ", Qt " QT_VERSION_STR},
    {122, "Paint Shop Pro 7.00"},
    {124, "Ce programme est un logiciel libre, sous licence GNU GPL version 3 ou (à votre "
          "choix) toute version ultérieure : vous pouvez le copier, le modifier et le "
          "redistribuer selon ses termes.|1Il est fourni sans aucune garantie."},
    {125, "Les informations système ne sont pas disponibles actuellement."},
    {126, "Total |1 fichier"},
    {127, "Total |1 fichiers"},
    {128, "Sélectionné :"},
    {129, "Dossiers :"},
    {130, "Lecteurs :"},
    {131, " ou dossier de stockage de Train Store|1"},
    {132, "Recherche des fichiers de formes..."},
    {133, "Sortie :"},
    {134, "Créer une pictelle"},
    {135, "Créer une image"},
    {136, "Créer toutes les sélections"},
    {137, "Opération de création des images terminée."},
    {138, "Création de l'image |1"},
    {139, "Opération de création des images sélectionnées terminée."},
    {140, "Une erreur est survenue et l'opération de création des images sélectionnées a été "
          "abandonnée."},
    {141, "Couleur de fond"},
    {142, " - Demande de confirmation"},
    {143, "Fichier |1"},
    {144, "Un fichier portant ce nom est déjà présent dans le dossier de destination.|1Que "
          "désirez-vous faire ?"},
    {145, "Ecraser le fichier (toujours demander l'opération à effectuer)"},
    {146, "Ne pas écraser le fichier (toujours demander l'opération à effectuer)"},
    {147, "Toujours écraser le fichier (pas de demande de confirmation)"},
    {148, "Ne jamais écraser le fichier (pas de demande de confirmation)"},
    {149, "Opération à effectuer :"},
    {150, ";Liste des pictelles (thumbnails) déjà créées de |1"},
    {151, ";|1 est un utilitaire du programme Rametta, un éditeur de rames pour Microsoft Train "
          "Simulator"},
    {152, "Liste_"},
    {153, "Chemin du programme Rametta"},
    {154, "Les pictelles sont créées dans le dossier Thumbnails de ce programme."},
    {155, "Pictelles trouvées dans le dossier de Rametta."},
    {156, "Pictelles intégrées d'origine dans Rametta."},
    {157, "Pictelles créées dans le dossier Thumbnails."},
    {158, "Pictelles restant à réaliser."},
    {159, "© 2026 les auteurs de Pictelle"},
    {160, "Supprimer le chemin de Rametta"},
    {207, "Au sujet de |1"},
    // Why the preview shows no vehicle; |1 = the shape file's name.
    {301, "Forme introuvable : |1"},
    {302, "Forme illisible : |1"},
    {303, "Forme invalide : |1"},
    // The vehicle is drawn without some of its freight shapes; |1 = their names.
    {304, "Forme de fret introuvable : |1"},
    {305, "Forme de fret illisible : |1"},
    // Nothing of the vehicle was drawn; |1 = the shape's file name.
    {306, "Rien du véhicule n'est dessiné : |1"},
    // A texture the vehicle is drawn without; |1 = its name.
    {307, "texture introuvable, dessinée en gris : |1"},
    {308, "texture illisible, dessinée en gris : |1"},
    {309, "texture corrompue, dessinée en gris : |1"},
    {310, "mémoire des textures épuisée, texture dessinée en gris : |1"},
    // |1 = the reader's reason, |2 = the byte it stopped at.
    {311, "|1 à l'octet |2"},
    // |1 = the Thumbnails folder, when it is not the one beside the program.
    {312, "Les pictelles sont créées dans le dossier |1."},
    // A name read from a file that leads out of the simulator's folder: never opened.
    {313, "Forme hors du dossier du simulateur, non ouverte : |1"},
    {314, "texture hors du dossier du simulateur, non ouverte, dessinée en gris : |1"},
    {315, "Forme de fret hors du dossier du simulateur, non ouverte : |1"},
    // Creating the thumbnails of a selection: the list's context menu, the progress window
    // and the end-of-run report.
    {320, "Sélectionner les pictelles restant à réaliser"},
    {321, "Tout sélectionner"},
    {322, "|1 - Création des pictelles"},
    {323, "|1 sur |2"},
    {324, "Images non créées : |1"},
    {325, "et |1 de plus"},
    {326, "Création interrompue : |1 sur |2 images traitées."},
    // Remembered folders that no longer serve, told once at start before asking again;
    // |1 = the folder, |2 = why.
    {330, "Un dossier enregistré ne convient plus ; il va vous être demandé à nouveau."},
    {331, "Microsoft Train Simulator : |1 (|2)"},
    {332, "Rametta : |1 (|2)"},
    {333, "dossier introuvable"},
    {334, "dossier illisible"},
    // |1 = TRAINS\TRAINSET as the system writes paths.
    {335, "aucun dossier |1"},
    {336, "Le dossier |1 ne peut pas être lu."},
    // Before creating a selection: |1 vehicles of the |2 selected share a thumbnail name.
    {340, "|1 des |2 véhicules sélectionnés partagent le nom de leur pictelle avec un autre."},
    {341, "Que faire quand une pictelle de ce nom existe déjà ?"},
    {342, "Toujours écraser"},
    {343, "Ne jamais écraser"},
    {344, "Demander à chaque fois"},
    // The failure list of message 140: |1 = the vehicle, |2 = why.
    {350, "|1 : |2"},
    {351, "forme introuvable"},
    {352, "forme illisible"},
    {353, "forme invalide"},
    {354, "rien du véhicule n'est dessiné"},
    {355, "aucune image écrite"},
    // |1 = the folder or the file, |2 = the system's reason.
    {356, "impossible d'écrire dans le dossier |1 : |2"},
    {357, "impossible de placer |1 : |2"},
    {358, "forme hors du dossier du simulateur"},
    // |1 = the longest length accepted, in metres.
    {359, "longueur (ligne Size) au-delà de |1 m"},
    // The window program's usage (after 400), printed by --help without opening a window.
    {360, "  pictelle [--msts DIR] [--rametta DIR]\n"
          "      ouvre la fenêtre ; les dossiers donnés ne valent que pour cette fois et ne\n"
          "      sont pas enregistrés dans les réglages."},
    {361, "  pictelle --version"},
    {362, "  pictelle --help"},
    // pictelle-cli's usage, one entry per subcommand.
    {400, "utilisation :"},
    {401, "  pictelle-cli list   [--msts DIR] [--rametta DIR]"},
    {402, "  pictelle-cli render SHAPE|VEHICLE OUT.bmp [--length METRES] [--zoom OFFSET]\n"
          "      VEHICLE : un .eng ou .wag, dessiné avec ses formes de fret, largeur d'après sa\n"
          "      longueur (Size). Cadrage sur la forme elle-même ; la fenêtre cadre tous les\n"
          "      véhicules sur la sphère d'un seul véhicule de référence."},
    {403,
     "  pictelle-cli make   [--msts DIR] [--rametta DIR] [--overwrite ask|always|never] "
     "[--jobs N] [NAME ...]\n"
     "      --jobs : véhicules dessinés à la fois (par défaut un par cœur) ; sur un terminal,\n"
     "      une ligne de progression (faits/total, débit, temps restant) sous les lignes."},
    {404, "  pictelle-cli --version"},
    {405, "  pictelle-cli thumbnail -s TAILLE FICHIER SORTIE.png\n"
          "      vignette PNG pour les gestionnaires de fichiers : véhicule (.eng, .wag), forme\n"
          "      (.s) ou texture (.ace), côté le plus long de TAILLE pixels (1 à 1024), fond\n"
          "      transparent. Ne lit que le fichier et ceux qu'il nomme, aucun réglage."},
    // Refused arguments; |1 = the subcommand, option or argument as given.
    {410, "commande inconnue : |1"},
    {411, "option inconnue : |1"},
    {412, "option répétée : |1"},
    {413, "valeur manquante après |1"},
    {414, "valeur vide pour |1"},
    {415, "valeur inattendue pour |1"},
    {416, "argument inattendu : |1"},
    // The simulator's folder of list and make; |1 = TRAINS\TRAINSET, |2 = the folder.
    {420, "dossier du simulateur inconnu : indiquez-le avec --msts"},
    {421, "pas de dossier |1 dans |2"},
    // render's errors; |1 = the value or file given.
    {430, "il faut une forme et un fichier de sortie"},
    {431, "longueur invalide : |1"},
    {432, "zoom invalide (de -2 à 2) : |1"},
    {433, "forme introuvable : |1"},
    {434, "forme illisible : |1"},
    {435, "forme invalide : |1 : |2"},
    {436, "fichier de définition illisible : |1"},
    {437, "aucune forme (WagonShape) dans |1"},
    {438, "la forme ne contient aucun triangle : |1"},
    {439, "rien de la forme n'est dessiné : |1"},
    {440, "impossible d'écrire |1"},
    {441, "forme hors du dossier du simulateur, non ouverte : |1"},
    // make: its options, the status of each vehicle (|1 = a folder or a reason, |2 = the
    // system's reason), the summary and the progress line.
    {450, "--jobs attend un nombre entier d'au moins 1 : |1"},
    {451, "--overwrite attend ask, always ou never : |1"},
    {452, "--overwrite ask demande un terminal : choisissez --overwrite always ou --overwrite "
          "never"},
    {453, "véhicule inconnu ou sans forme : |1"},
    {454, "impossible de créer le dossier |1 : |2"},
    {455, "créée"},
    {456, "remplacée"},
    {457, "conservée (fichier existant)"},
    {458, "échec : aucune image écrite"},
    {459, "échec : fichier impossible à renommer ou à supprimer"},
    {460, "échec : forme introuvable"},
    {461, "échec : forme illisible"},
    {462, "échec : forme invalide : |1"},
    {463, "échec : fichier de définition illisible"},
    {464, "échec : image vide, rien du véhicule n'est dessiné"},
    {465, "échec : impossible d'écrire dans le dossier |1 : |2"},
    {466, "échec : impossible de placer |1 : |2"},
    {467, "arrêt : écriture refusée dans le dossier |1 : |2 (|3 véhicules non traités)"},
    {468, "créées : |1, conservées : |2, échecs : |3, dossier : |4"},
    {469, "|1/|2 véhicules"},
    {470, ", |1 par seconde, reste |2:|3"},
    {471, "[1-4, 1] : "},
    {472, "échec : forme hors du dossier du simulateur, non ouverte : |1"},
    // |1 = the value given, |2 = the limit (four per processor).
    {473, "--jobs : au plus |2 sur cette machine : |1"},
    // |1 = the length read, |2 = the longest vehicle accepted, |3 = the file.
    {474, "échec : longueur de |1 m refusée, un véhicule mesure au plus |2 m (ligne Size)"},
    {475, "images temporaires d'exécutions interrompues supprimées de |1 : |2"},
    {476, "longueur de |1 m refusée dans |3 : un véhicule mesure au plus |2 m (ligne Size)"},
    // FreightAnim entries left out; |1 = the line, |2 = why, |3 = the entry.
    {480, "FreightAnim ignoré, ligne |1 (|2)"},
    {481, "aucune forme"},
    {482, "nombres manquants"},
    {483, "trop de valeurs"},
    {484, "valeur non numérique"},
    {485, "bloc imbriqué"},
    {486, "parenthèse non fermée"},
    {487, "plus de |1 entrées dans le fichier : celle-ci et les suivantes sont ignorées"},
    // thumbnail's errors; |1 = the value or file given.
    {490, "il faut une taille (-s), un fichier à montrer et un fichier PNG de sortie"},
    {491, "taille invalide (un nombre entier de 1 à 1024) : |1"},
    {492, "ni véhicule (.eng, .wag), ni forme (.s), ni texture (.ace) : |1"},
    {493, "texture introuvable : |1"},
    {494, "texture illisible : |1"},
    {495, "texture invalide : |1"},
    {496, "texture entièrement transparente : |1"},
};

const Entry* find(int number) {
    const auto it = std::lower_bound(std::begin(table), std::end(table), number,
                                     [](const Entry& e, int n) { return e.number < n; });
    return it != std::end(table) && it->number == number ? it : nullptr;
}

} // namespace

MessageNotFound::MessageNotFound(int number)
    : std::runtime_error("message " + std::to_string(number) + " is not in the message table"),
      number_(number) {}

bool HasMessage(int number) {
    return find(number) != nullptr;
}

QString LoadMessage(MessageId id, const QList<MessageValue>& pairs) {
    // A MessageId may be made from any number, in the table or not.
    const int number = static_cast<int>(id);
    const Entry* entry = find(number);
    if (!entry)
        throw MessageNotFound(number);
    QString text = QString::fromUtf8(entry->text);
    for (qsizetype i = 0; i + 1 < pairs.size(); i += 2) {
        const QString& marker = pairs[i].text();
        const QString& replacement = pairs[i + 1].text();
        // An empty marker would match everywhere and never advance.
        if (marker.isEmpty())
            continue;
        qsizetype from = 0;
        while ((from = text.indexOf(marker, from)) >= 0) {
            text.replace(from, marker.size(), replacement);
            from += replacement.size();
        }
    }
    return text;
}

QString LoadMessage(MessageId id, std::initializer_list<MessageValue> pairs) {
    return LoadMessage(id, QList<MessageValue>(pairs));
}

} // namespace app
