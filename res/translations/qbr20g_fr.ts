<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en">
<context>
    <name>DeviceListPage</name>
    <message>
        <source>QBR20N, a professional 150M Mini WiFi Bridge</source>
        <extracomment>The tool tip of the product picture.</extracomment>
        <translation>QBR20N, un mini-pont Wi-Fi professionnel à 150 Mbit/s</translation>
    </message>
    <message>
        <source>Name</source>
        <extracomment>Column headings of the bridge list, 130 pixels each.</extracomment>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Mac Address</source>
        <translation>Adresse MAC</translation>
    </message>
</context>
<context>
    <name>OpenError</name>
    <message>
        <source>The operating system is out
of memory or resources.</source>
        <translation>Le système d’exploitation manque
de mémoire ou de ressources.</translation>
    </message>
    <message>
        <source>The specified file was not found.</source>
        <translation>Le fichier spécifié est introuvable.</translation>
    </message>
    <message>
        <source>The specified path was not found.</source>
        <translation>Le chemin d’accès spécifié est introuvable.</translation>
    </message>
    <message>
        <source>The operating system denied
access to the specified file.</source>
        <translation>Le système d’exploitation a refusé
l’accès au fichier spécifié.</translation>
    </message>
    <message>
        <source>There was not enough memory to complete the operation.</source>
        <translation>La mémoire est insuffisante pour terminer l’opération.</translation>
    </message>
    <message>
        <source>The .EXE file is invalid
(non-Win32 .EXE or error in .EXE image).</source>
        <translation>Le fichier .EXE n’est pas valide
(.EXE non Win32 ou erreur dans l’image .EXE).</translation>
    </message>
    <message>
        <source>A sharing violation occurred. </source>
        <translation>Une violation de partage s’est produite. </translation>
    </message>
    <message>
        <source>The filename association is
incomplete or invalid.</source>
        <translation>L’association du nom de fichier est
incomplète ou non valide.</translation>
    </message>
    <message>
        <source>The DDE transaction failed.</source>
        <translation>La transaction DDE a échoué.</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because other DDE transactions
were being processed.</source>
        <translation>La transaction DDE n’a pas pu
aboutir, car d’autres transactions DDE
étaient en cours de traitement.</translation>
    </message>
    <message>
        <source>There is no application associated
with the given filename extension.</source>
        <translation>Aucune application n’est associée
à cette extension de nom de fichier.</translation>
    </message>
    <message>
        <source>The specified dynamic-link library was not found.</source>
        <translation>La bibliothèque de liens dynamiques spécifiée est introuvable.</translation>
    </message>
    <message>
        <source>Unknown Error (%1) occurred.</source>
        <translation>Une erreur inconnue (%1) s’est produite.</translation>
    </message>
    <message>
        <source>Unable to open hyperlink:

</source>
        <translation>Impossible d’ouvrir le lien hypertexte&#xa0;:

</translation>
    </message>
</context>
<context>
    <name>PageWords</name>
    <message>
        <source>QBR20G Setup Wizard</source>
        <translation>Assistant de configuration QBR20G</translation>
    </message>
    <message>
        <source>Wi-Fi client bridge configuration</source>
        <translation>Configuration du pont client Wi-Fi</translation>
    </message>
    <message>
        <source>802.11b/g Wireless Bridge   •   Setup Wizard   •   Model QBR20G</source>
        <translation>Pont sans fil 802.11b/g   •   Assistant de configuration   •   Modèle QBR20G</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Retour</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Refresh List</source>
        <translation>Actualiser</translation>
    </message>
    <message>
        <source>Visit Web Site</source>
        <translation>Visiter le site</translation>
    </message>
    <message>
        <source>Select your bridge</source>
        <extracomment>Page 1 title, drawn in the header: one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Sélectionnez votre pont</translation>
    </message>
    <message>
        <source>Select a bridge from the list and click Next.</source>
        <extracomment>Page 1 instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Sélectionnez un pont dans la liste, puis cliquez sur Suivant.</translation>
    </message>
    <message>
        <source>Bridges on the network</source>
        <extracomment>The heading over the bridge list: one line of 270 pixels.</extracomment>
        <translation>Ponts présents sur le réseau</translation>
    </message>
    <message>
        <source>Version</source>
        <extracomment>Drawn before the version number at the top right: about 60 pixels.</extracomment>
        <translation>Version</translation>
    </message>
    <message>
        <source>Click Refresh List to find bridges recently added to the network.</source>
        <extracomment>A note beside the bridge list: a box of 150 x 80 pixels, wrapped.</extracomment>
        <translation>Cliquez sur Actualiser pour trouver les ponts récemment ajoutés au réseau.</translation>
    </message>
    <message>
        <source>Choose a wireless network</source>
        <extracomment>Page 2 title, drawn in the header: one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Choisissez un réseau sans fil</translation>
    </message>
    <message>
        <source>Select a network from the list, click Refresh List to search again, or enter the SSID manually. Then click Next.</source>
        <extracomment>Page 2 instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Sélectionnez un réseau dans la liste, cliquez sur Actualiser pour chercher à nouveau ou saisissez le SSID manuellement. Puis cliquez sur Suivant.</translation>
    </message>
    <message>
        <source>Wireless networks</source>
        <extracomment>Not drawn: the name screen readers give the list of networks.</extracomment>
        <translation>Réseaux sans fil</translation>
    </message>
    <message>
        <source>From list</source>
        <extracomment>The label of a choice: about 90 pixels, in bold.</extracomment>
        <translation>Dans la liste</translation>
    </message>
    <message>
        <source>Manual</source>
        <extracomment>The label of a choice: about 60 pixels, in bold.</extracomment>
        <translation>Manuel</translation>
    </message>
    <message>
        <source>Channel</source>
        <extracomment>A field label (and a summary row): at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Canal</translation>
    </message>
    <message>
        <source>You can enter the SSID manually, for a network that hides its name, and choose its channel.</source>
        <extracomment>A note beside the manual entry: a box of 278 x 46 pixels, wrapped.</extracomment>
        <translation>Pour un réseau masqué, vous pouvez saisir le SSID manuellement et choisir son canal.</translation>
    </message>
    <message>
        <source>Choose the security mode</source>
        <extracomment>Page 3 title, drawn in the header: one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Choisissez le mode de sécurité</translation>
    </message>
    <message>
        <source>Choose the security that the wireless network uses.</source>
        <extracomment>Page 3 instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Choisissez la sécurité utilisée par le réseau sans fil.</translation>
    </message>
    <message>
        <source>Security</source>
        <extracomment>A field label (and a summary row): at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Sécurité</translation>
    </message>
    <message>
        <source>Disable</source>
        <extracomment>A security mode: no security, an open network. Also an entry of the mode list: about 80 pixels.</extracomment>
        <translation>Aucune</translation>
    </message>
    <message>
        <source>an open network without a key</source>
        <extracomment>What a security mode means: one line of 340 pixels.</extracomment>
        <translation>un réseau ouvert, sans clé</translation>
    </message>
    <message>
        <source>64-bit or 128-bit WEP keys</source>
        <extracomment>What a security mode means: one line of 340 pixels.</extracomment>
        <translation>des clés WEP de 64 ou 128 bits</translation>
    </message>
    <message>
        <source>a passphrase, TKIP encryption</source>
        <extracomment>What a security mode means: one line of 340 pixels.</extracomment>
        <translation>une phrase de passe, chiffrement TKIP</translation>
    </message>
    <message>
        <source>a passphrase, AES encryption</source>
        <extracomment>What a security mode means: one line of 340 pixels.</extracomment>
        <translation>une phrase de passe, chiffrement AES</translation>
    </message>
    <message>
        <source>Choose Disable and click Next for an open network; the other choices take you to their keys.</source>
        <extracomment>A note under the security modes: at most two lines of about 560 pixels.</extracomment>
        <translation>Pour un réseau ouvert, choisissez Aucune et cliquez sur Suivant&#xa0;; les autres choix mènent à la saisie de leurs clés.</translation>
    </message>
    <message>
        <source>Enter the WEP keys</source>
        <extracomment>Page 3 title (WEP keys): one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Saisissez les clés WEP</translation>
    </message>
    <message>
        <source>Enter up to four keys and choose the key that the bridge uses.</source>
        <extracomment>WEP page instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Saisissez jusqu’à quatre clés et choisissez celle que le pont utilise.</translation>
    </message>
    <message>
        <source>Key 1</source>
        <extracomment>A field label: at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Clé 1</translation>
    </message>
    <message>
        <source>Key 2</source>
        <translation>Clé 2</translation>
    </message>
    <message>
        <source>Key 3</source>
        <translation>Clé 3</translation>
    </message>
    <message>
        <source>Key 4</source>
        <translation>Clé 4</translation>
    </message>
    <message>
        <source>Key Index</source>
        <extracomment>A field label: at most 150 pixels, right-aligned, bold. The key (1 to 4) that the bridge sends with.</extracomment>
        <translation>Index de clé</translation>
    </message>
    <message>
        <source>Key format</source>
        <extracomment>Not drawn: the name screen readers give the list of key formats (ASCII or HEX).</extracomment>
        <translation>Format de clé</translation>
    </message>
    <message>
        <source>Key length</source>
        <extracomment>The heading of the help box beside the keys: one line of about 220 pixels, bold.</extracomment>
        <translation>Longueur de clé</translation>
    </message>
    <message>
        <source>64-bit WEP: 10 hex digits or 5 ASCII characters.
128-bit WEP: 26 hex digits or 13 ASCII characters.
Hex digits are 0 to 9 and A to F.
All keys you enter must have the same length.</source>
        <extracomment>The help box beside the keys: 4 lines of about 220 pixels, wrapped.</extracomment>
        <translation>WEP 64 bits&#xa0;: 10 chiffres hexadécimaux ou 5 caractères ASCII.
WEP 128 bits&#xa0;: 26 chiffres hexadécimaux ou 13 caractères ASCII.
Chiffres hexadécimaux&#xa0;: de 0 à 9 et de A à F.
Toutes les clés doivent avoir la même longueur.</translation>
    </message>
    <message>
        <source>10 OR 26 HEX DIGITS</source>
        <extracomment>A hint in a 5 x 7 pixel font: at most 19 characters, capitals A-Z, digits, space and - / . only (anything else is drawn smaller in an ordinary font).</extracomment>
        <translation>10/26 CHIFFRES HEX</translation>
    </message>
    <message>
        <source>5 OR 13 ASCII CHARS</source>
        <extracomment>A hint in a 5 x 7 pixel font: at most 19 characters, capitals A-Z, digits, space and - / . only (anything else is drawn smaller in an ordinary font).</extracomment>
        <translation>5/13 CARACT. ASCII</translation>
    </message>
    <message>
        <source>Enter the WPA passphrase</source>
        <extracomment>Page 3 title (WPA-PSK): one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Saisissez la phrase de passe WPA</translation>
    </message>
    <message>
        <source>Enter the passphrase of the wireless network.</source>
        <extracomment>WPA page instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Saisissez la phrase de passe du réseau sans fil.</translation>
    </message>
    <message>
        <source>Enter the WPA2 passphrase</source>
        <extracomment>Page 3 title (WPA2-PSK): one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Saisissez la phrase de passe WPA2</translation>
    </message>
    <message>
        <source>Encryption</source>
        <extracomment>A field label: at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Chiffrement</translation>
    </message>
    <message>
        <source>Passphrase</source>
        <extracomment>A field label: at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Phrase de passe</translation>
    </message>
    <message>
        <source>TKIP is selected automatically for WPA-PSK.</source>
        <extracomment>A note beside the cipher: one line of about 300 pixels.</extracomment>
        <translation>TKIP est choisi automatiquement pour WPA-PSK.</translation>
    </message>
    <message>
        <source>AES is selected automatically for WPA2-PSK.</source>
        <extracomment>A note beside the cipher: one line of about 300 pixels.</extracomment>
        <translation>AES est choisi automatiquement pour WPA2-PSK.</translation>
    </message>
    <message>
        <source>The passphrase is case-sensitive and 8 to 63 characters long.</source>
        <extracomment>A note under the passphrase: at most two lines of about 300 pixels.</extracomment>
        <translation>La phrase de passe compte de 8 à 63 caractères et respecte la casse.</translation>
    </message>
    <message>
        <source>Review and save</source>
        <extracomment>Summary page title: one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Vérifier et enregistrer</translation>
    </message>
    <message>
        <source>Review the new settings, then click Next to save them into the bridge.</source>
        <extracomment>Summary page instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Vérifiez les nouveaux paramètres, puis cliquez sur Suivant pour les enregistrer dans le pont.</translation>
    </message>
    <message>
        <source>Old settings</source>
        <extracomment>The heading of a panel: one line of 260 pixels, bold.</extracomment>
        <translation>Anciens paramètres</translation>
    </message>
    <message>
        <source>New settings</source>
        <extracomment>The heading of a panel: one line of 260 pixels, bold.</extracomment>
        <translation>Nouveaux paramètres</translation>
    </message>
    <message>
        <source>Network Type</source>
        <extracomment>A summary row label: at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Type de réseau</translation>
    </message>
    <message>
        <source>Congratulations!</source>
        <extracomment>Finish page title: one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Félicitations&#xa0;!</translation>
    </message>
    <message>
        <source>Your QBR20G bridge has been configured successfully.</source>
        <extracomment>Finish page text under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Votre pont QBR20G a été configuré avec succès.</translation>
    </message>
    <message>
        <source>Searching for the bridge ...</source>
        <extracomment>A progress banner&apos;s caption: one line of 216 pixels, bold.</extracomment>
        <translation>Recherche du pont...</translation>
    </message>
    <message>
        <source>Looking for QBR20G bridges on the wire</source>
        <extracomment>The line under a progress banner&apos;s caption: one line of 216 pixels, small.</extracomment>
        <translation>Recherche des ponts QBR20G sur le câble</translation>
    </message>
    <message>
        <source>Please wait ...</source>
        <extracomment>A progress banner&apos;s caption: one line of 216 pixels, bold.</extracomment>
        <translation>Veuillez patienter...</translation>
    </message>
    <message>
        <source>The bridge is working on your request</source>
        <extracomment>The line under a progress banner&apos;s caption: one line of 216 pixels, small.</extracomment>
        <translation>Le pont traite votre demande</translation>
    </message>
    <message>
        <source>Settings saved</source>
        <extracomment>The saved notice&apos;s caption: one line of 280 pixels, large and bold.</extracomment>
        <translation>Paramètres enregistrés</translation>
    </message>
    <message>
        <source>The new configuration has been saved in the bridge.</source>
        <extracomment>The saved notice&apos;s text: at most two lines of 285 pixels.</extracomment>
        <translation>La nouvelle configuration a été enregistrée dans le pont.</translation>
    </message>
    <message>
        <source>Close this notice with the × above.</source>
        <extracomment>The saved notice&apos;s last line: one line of 285 pixels, small.</extracomment>
        <translation>Fermez ce message avec le × ci-dessus.</translation>
    </message>
</context>
<context>
    <name>SetupApp</name>
    <message>
        <source>the wizard</source>
        <extracomment>How the start-up error names this program, within a sentence (and at the start of one, where it is given a capital).</extracomment>
        <translation>l&apos;assistant</translation>
    </message>
</context>
<context>
    <name>SiteSurveyPage</name>
    <message>
        <source>channel %1</source>
        <extracomment>An entry of the channel list, 150 pixels wide.</extracomment>
        <translation>canal %1</translation>
    </message>
    <message>
        <source>SSID</source>
        <translation>SSID</translation>
    </message>
    <message>
        <source>Mac Address</source>
        <translation>Adresse MAC</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Canal</translation>
    </message>
    <message>
        <source>Signal</source>
        <translation>Signal</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Sécurité</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Débit</translation>
    </message>
    <message>
        <source>Searching Wireless Network ...</source>
        <extracomment>The status line under the network list while the bridge searches; about 60 characters.</extracomment>
        <translation>Recherche des réseaux sans fil...</translation>
    </message>
    <message numerus="yes">
        <source>There are %n wireless networks.</source>
        <extracomment>The status line under the network list after a search; about 60 characters.</extracomment>
        <translation>
            <numerusform>Il y a %n réseau sans fil.</numerusform>
            <numerusform>Il y a %n réseaux sans fil.</numerusform>
        </translation>
    </message>
    <message>
        <source>You must input the ssid!</source>
        <extracomment>The status line when Next is clicked with no SSID typed; about 60 characters.</extracomment>
        <translation>Vous devez saisir le SSID&#xa0;!</translation>
    </message>
</context>
<context>
    <name>SummaryPage</name>
    <message>
        <source>Auto</source>
        <extracomment>A summary field, 120 pixels wide: the channel is chosen by the bridge.</extracomment>
        <translation>Automatique</translation>
    </message>
    <message>
        <source>Infrastructure</source>
        <extracomment>A summary field, 120 pixels wide: the network type (an access point&apos;s network, not ad hoc).</extracomment>
        <translation>Infrastructure</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>The name a screen reader gives a summary field: the column, then the row, e.g. &quot;New settings: SSID&quot;.</extracomment>
        <translation>%1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Saving wifi config ...</source>
        <extracomment>The status line under the summary, while the bridge saves; about 60 characters.</extracomment>
        <translation>Enregistrement de la configuration Wi-Fi...</translation>
    </message>
    <message>
        <source>Save config successfully !</source>
        <extracomment>The status line once the bridge has saved; about 60 characters.</extracomment>
        <translation>Configuration enregistrée avec succès&#xa0;!</translation>
    </message>
    <message>
        <source>Save config failed !</source>
        <translation>Échec de l’enregistrement de la configuration&#xa0;!</translation>
    </message>
</context>
<context>
    <name>WepPage</name>
    <message>
        <source>Key1</source>
        <extracomment>The entries of the Key Index list, 90 pixels wide.</extracomment>
        <translation>Clé 1</translation>
    </message>
    <message>
        <source>Key2</source>
        <translation>Clé 2</translation>
    </message>
    <message>
        <source>Key3</source>
        <translation>Clé 3</translation>
    </message>
    <message>
        <source>Key4</source>
        <translation>Clé 4</translation>
    </message>
</context>
</TS>
