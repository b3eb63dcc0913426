#include "helptexts.h"

#include "help/author.h"

const QList<HelpTopic>& HelpTopics() {
    static const QList<HelpTopic> topics{
        {QStringLiteral("Informations"), QString(), QStringLiteral(" A propos de Kalimo "),
         QStringLiteral("Kalimo est un logiciel libre, donné gratuitement : chacun peut le copier, "
                        "l'étudier, le modifier et le transmettre à son tour, selon les termes de la "
                        "licence publique générale GNU (GPL), version 3 ou toute version ultérieure.\n"
                        "L'auteur décline toute responsabilité quant aux dommages que pourrait causer "
                        "ce logiciel. Aucun problème n'a toutefois été constaté durant son "
                        "développement.\n\n\n") +
             QStringLiteral("Auteur : ") + AuthorName + QStringLiteral(" \nE-mail : ") + AuthorMail +
             QStringLiteral(" \nSite Web : ") + AuthorWebAddress + QStringLiteral(" ")},
        {QStringLiteral("Comptes"), QString(), QStringLiteral(" Comptes "),
         QStringLiteral("Aide concernant la création, l'installation et la suppression d'un compte "
                        "afin d'utiliser pleinement le logiciel Kalimo.\n"
                        "Créez un compte par membre de la famille, et même pour votre chien ou votre "
                        "chat ! Le mot de passe garde l'entrée du compte, pas ses fichiers : brouillés, "
                        "ils ne se lisent pas par mégarde, mais une personne décidée peut les lire.")},
        {QStringLiteral("Installation"), QStringLiteral("Comptes"), QStringLiteral(" Installation "),
         QStringLiteral("Il est conseillé pour une installation correcte de copier le fichier :\n"
                        "kalimo\n"
                        "dans un dossier qui lui est réservé, car Kalimo range ses fichiers dans le "
                        "dossier d'où il est lancé.\n"
                        "Depuis la version 2.0, l'installation s'en charge : le menu lance Kalimo dans "
                        "le dossier Kalimo de votre dossier personnel.")},
        {QStringLiteral("Créer"), QStringLiteral("Comptes"), QStringLiteral(" Créer "),
         QStringLiteral("Pour créer un compte, il vous suffit de taper un nom de compte inexistant, "
                        "ainsi qu'un mot de passe, puis de cliquer sur :\n"
                        "\"nouveau compte\". Un message vous confirme alors la création du compte, et "
                        "Kalimo s'ouvre aussitôt sur votre nouveau compte.")},
        {QStringLiteral("Supprimer"), QStringLiteral("Comptes"), QStringLiteral(" Supprimer "),
         QStringLiteral("Pour effacer un compte, il vous suffit de sélectionner le compte à supprimer, "
                        "et d'entrer le bon mot de passe puis de sélectionner : \n"
                        "\"détruire compte\". ")},
        {QStringLiteral("Graphique"), QString(), QStringLiteral(" Graphique "),
         QStringLiteral("Aide concernant l'onglet \"Graphique\", avec ses différentes options. Vous "
                        "trouverez ainsi comment accéder à toutes les fonctionnalités de Kalimo. ")},
        {QStringLiteral("2 graphiques"), QStringLiteral("Graphique"), QStringLiteral(" 2 graphiques "),
         QStringLiteral("Kalimo gère un système de comparaison des courbes, il vous est donc possible "
                        "de superposer 2 mois simultanément. Pour cela, choisissez le mois et l'année "
                        "à comparer en bas à droite de la fenêtre, puis cochez la case \"2° Mois\" juste "
                        "à côté. La seconde courbe s'affiche alors en vert, par-dessus celle du mois "
                        "en cours.")},
        {QStringLiteral("Détails"), QStringLiteral("Graphique"), QStringLiteral(" Détails "),
         QStringLiteral("Lorsque votre courbe est représentez, alors seulement la courbe est affichée, "
                        "par les valeurs ne le sont pas. En cochant la case \"Détails\", vous verrez "
                        "chaque valeur au dessus de chaque points. ")},
        {QStringLiteral("Enregistrer"), QStringLiteral("Graphique"), QStringLiteral(" Enregistrer "),
         QStringLiteral("Kalimo vous permet d'exporter très facilement votre courbe de poids, il vous "
                        "suffit pour cela de cliquer sur la disquette, puis de choisir le dossier, le "
                        "nom et le type d'image : bmp, ou bien jpg qui donne un fichier beaucoup plus "
                        "petit. Inutile de taper l'extension, Kalimo l'ajoute lui-même ; tapée (.jpg, .jpeg "
                        "ou .bmp), elle choisit le format.")},
        {QStringLiteral("IMC"), QStringLiteral("Graphique"), QStringLiteral(" IMC "),
         QStringLiteral("Ce module vous permet de calculer rapidement et facilement votre Indice de "
                        "Masse Corporelle (IMC). Choisissez un jour dans la grille des poids ou tapez "
                        "un poids, réglez votre taille en centimètres, puis cliquez sur le bouton "
                        "\"OK\". Votre IMC s'affiche alors juste en dessous, accompagné d'un commentaire "
                        ": maigreur, poids normal, surpoids ou obésité.")},
        {QStringLiteral("Imprimer"), QStringLiteral("Graphique"), QStringLiteral(" Imprimer "),
         QStringLiteral("Kalimo permet d'imprimer très facilement vos courbes, pour cela, il vous "
                        "suffit de cliquez sur la petite imprimante, puis de sélectionner l'imprimante "
                        "que vous souhaitez utilise. ")},
        {QStringLiteral("Rafraîchir"), QStringLiteral("Graphique"), QStringLiteral(" Rafraîchir "),
         QStringLiteral("En cas de problème de rafraîchissement de votre graphique, vous pouvez "
                        "cliquer sur le bouton représentant une flêche en cercle, ainsi, le graphique "
                        "se redessinera. ")},
        {QStringLiteral("Tracé / Fond"), QStringLiteral("Graphique"), QStringLiteral(" Tracé / Fond "),
         QStringLiteral("Pour personnaliser votre Kalimo, vous pouvez modifier la couleur du tracé, "
                        "ainsi que l'épaisseur du trait du mois en cours. ")},
        {QStringLiteral("Zoom"), QStringLiteral("Graphique"), QStringLiteral(" Zoom "),
         QStringLiteral("Kalimo peut réaliser un zoom sur votre graphique. Pour agrandir une partie de "
                        "la courbe, maintenez le bouton gauche de la souris enfoncé et tracez un "
                        "rectangle en allant vers le bas et vers la droite : la zone choisie remplit "
                        "alors tout le graphique. Pour revenir à l'affichage complet, faites de même "
                        "en allant vers le haut et vers la gauche. Le zoom fonctionne aussi bien sur "
                        "le graphique du mois que sur celui de l'année, et vous pouvez zoomer "
                        "plusieurs fois de suite.")},
        {QStringLiteral("Bilan"), QString(), QStringLiteral(" Bilan "),
         QStringLiteral("L'onglet \"Bilan\" montre la tendance de votre poids : une moyenne lissée "
                        "qui efface les variations d'un jour à l'autre (eau, sel). Choisissez la "
                        "période, tapez votre objectif puis cliquez sur \"Fixer\" : Kalimo "
                        "indique vers quelle date la tendance l'atteindra. Les boutons d'exportation "
                        "écrivent vos poids ou vos repas dans un fichier CSV pour un tableur ; "
                        "\"Importer des poids\" lit un tel fichier et vous montre ce qui changera "
                        "avant d'écrire quoi que ce soit. Dans le fichier exporté, un nom d'aliment "
                        "qui commence par =, +, - ou @ est précédé d'une apostrophe : le tableur "
                        "l'affiche comme un texte au lieu de l'exécuter comme une formule.")},
        {QStringLiteral("Sauvegardes"), QStringLiteral("Bilan"), QStringLiteral(" Sauvegardes "),
         QStringLiteral("A la fermeture, une fois par jour au plus, Kalimo copie le fichier des poids et "
                        "le journal des repas du compte, brouillés comme entre deux séances, avec "
                        "\"compte.ini.cry\" et \"calories.ini\", dans le dossier \"sauvegardes\" du "
                        "dossier des données, un sous-dossier par jour (AAAA-MM-JJ). Il garde les "
                        "sauvegardes des 14 derniers jours qui en ont une, et la plus ancienne de chacun "
                        "des 12 derniers mois ; les autres sont effacées.\n"
                        "Le bouton \"Sauvegardes…\" de l'onglet \"Bilan\" les montre, les plus récentes "
                        "d'abord. \"Restaurer\" remplace le fichier des poids et le journal des repas par "
                        "ceux de la sauvegarde choisie, après avoir sauvegardé leur état présent à la date "
                        "du jour.")},
        {QStringLiteral("Calorique"), QString(), QStringLiteral(" Suivi Calorique "),
         QStringLiteral("Aide sur la gestion du suivi calorique, avec le détail de l'utilisation et "
                        "des définitions des thermes utilisés.")},
        {QStringLiteral("Calories"), QStringLiteral("Calorique"), QStringLiteral(" Calories "),
         QStringLiteral("Une kilocalorie (en langage courant une Calorie) est la quantité de chaleur "
                        "nécessaire pour élever la température de 1 kg d'eau de 14,5 °C à 15,5 °C. Nos "
                        "besoins en énergie dépendent de l'âge, du sexe, de la taille et de l'activité "
                        "physique : il faut environ 2 000 Calories par jour à une femme adulte, et 2 "
                        "500 à un homme adulte.")},
        {QStringLiteral("Catégories"), QStringLiteral("Calorique"), QStringLiteral(" Catégories "),
         QStringLiteral("Cette liste contient l'ensemble des catégories d'aliments disponibles. "
                        "Cliquez sur une catégorie pour voir ses aliments, puis sur un aliment pour "
                        "voir ses valeurs. Pour ajouter, renommer ou supprimer une catégorie, cliquez "
                        "sur le bouton \"Configurer\" de l'onglet \"Calories\".")},
        {QStringLiteral("Configurer"), QStringLiteral("Calorique"), QStringLiteral(" Configurer "),
         QStringLiteral("Ce boutton permet d'accéder à la gestion de la liste d'aliments. Une fenêtre "
                        "s'ouvre, dans laquelle vous pouvez ajouter, renommer ou supprimer une "
                        "catégorie, ainsi qu'ajouter, modifier ou supprimer un aliment avec ses "
                        "calories, protéines, glucides et lipides.")},
        {QStringLiteral("Dépense et objectif du jour"), QStringLiteral("Calorique"),
         QStringLiteral(" Dépense et objectif du jour "),
         QStringLiteral(
             "Kalimo estime ce que vous dépensez chaque jour d'après votre propre journal : les "
             "calories notées dans l'onglet \"Calories\" et vos pesées. Ce que vous mangez en plus "
             "de votre dépense se stocke, ce qui manque se prend sur vos réserves, à raison de "
             "7 700 kcal par kg : en suivant jour après jour vos repas et la tendance de votre "
             "poids, débarrassée des variations d'eau, Kalimo en déduit votre dépense réelle, sans "
             "vous demander ni âge ni sexe. L'onglet \"Bilan\" l'affiche avec sa marge (plus ou "
             "moins un écart type), qui se resserre à mesure que le journal s'allonge, dès que les "
             "28 derniers jours comptent au moins 14 jours de repas et 7 pesées ; sinon il indique "
             "ce qui manque encore. La case \"Dépense\" y montre la dépense estimée et les calories "
             "notées jour après jour.\n"
             "Un jour sans repas noté ne compte pas pour un jour à 0 calorie : Kalimo ne sait pas "
             "ce que vous avez mangé et le laisse de côté. Il laisse aussi de côté un jour noté en "
             "partie (moins du tiers de la dépense estimée), un jour de plus de 10 000 kcal et un "
             "jour qui cite un aliment supprimé de la liste.\n"
             "Choisissez dans l'onglet \"Bilan\" le rythme voulu, de -1 à +0,5 kg par semaine, au "
             "plus 1 % de votre poids par semaine. L'objectif du jour est la dépense plus le "
             "rythme × 7 700 / 7, arrondi à 10 kcal ; l'onglet \"Calories\" montre ce qu'il reste "
             "à manger ce jour-là. Il ne descend jamais sous 1 200 kcal : si le rythme le "
             "demandait, c'est qu'il est trop rapide pour votre dépense. Une fois l'objectif de "
             "poids atteint, l'objectif du jour est la dépense, pour garder ce poids.\n"
             "Ces chiffres sont des estimations, pas un avis médical : demandez conseil à votre "
             "médecin avant de commencer un régime.")},
        {QStringLiteral("Glucides"), QStringLiteral("Calorique"), QStringLiteral(" Glucides "),
         QStringLiteral("Les glucides (ou sucres) sont des nutriments qui fournissent surtout de "
                        "l'énergie, car ils sont entièrement brûlés dans l'organisme. Un gramme de "
                        "glucides apporte 4 calories. On les trouve dans le pain, les pâtes, le riz, "
                        "les fruits et le sucre.")},
        {QStringLiteral("Lipides"), QStringLiteral("Calorique"), QStringLiteral(" Lipides "),
         QStringLiteral("Les lipides (ou graisses) sont des nutriments formés de glycérol et d'acides "
                        "gras (dont 3 sont indispensables). Un gramme de lipides apporte 9 calories, "
                        "soit plus du double des glucides. Ils constituent la réserve d'énergie de "
                        "l'organisme et transportent certaines vitamines (A, D, E et K). On les trouve "
                        "dans les huiles, le beurre et le fromage : mieux vaut ne pas en abuser.")},
        {QStringLiteral("Protéines"), QStringLiteral("Calorique"), QStringLiteral(" Protéines "),
         QStringLiteral("Les protides (ou protéines) sont des nutriments formés d'acides aminés (il en "
                        "existe 30 dans la nature, dont 8 sont indispensables). Elles construisent et "
                        "entretiennent les muscles et les os. Un gramme de protéines apporte 4 "
                        "calories. On les trouve dans la viande, le poisson, les oeufs et le lait.")},
        {QStringLiteral("Saisie rapide"), QStringLiteral("Calorique"), QStringLiteral(" Saisie rapide "),
         QStringLiteral("Sur l'onglet \"Calories\", un repas se note en quelques touches.\n"
                        "Rechercher (Alt+R) : tapez une partie du nom d'un aliment, avec ou sans accents "
                        "(\"cafe lait\" trouve \"Café au lait\", \"oeuf\" trouve \"Œuf\"). Les aliments "
                        "de toutes les catégories qui contiennent chacun des mots tapés s'affichent, "
                        "les plus proches d'abord. Les flèches se déplacent dans la liste, Entrée "
                        "choisit l'aliment et passe à la quantité, Entrée dans la quantité l'ajoute. "
                        "Echap ramène les catégories.\n"
                        "Récents (Alt+N) : les 15 aliments notés le plus souvent durant les 30 derniers "
                        "jours, le plus fréquent d'abord. Un clic ou Entrée en choisit un.\n"
                        "Copier la veille (Alt+V) : après confirmation, ajoute au jour affiché les "
                        "aliments notés la veille ; la quantité d'un aliment déjà noté ce jour-là "
                        "augmente. Le premier jour d'un mois, la veille est le dernier jour du mois "
                        "précédent.")},
    };
    return topics;
}
