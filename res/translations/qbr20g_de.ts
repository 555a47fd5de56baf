<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>DeviceListPage</name>
    <message>
        <source>QBR20N, a professional 150M Mini WiFi Bridge</source>
        <extracomment>The tool tip of the product picture.</extracomment>
        <translation>QBR20N, eine professionelle 150-Mbit/s-Mini-WLAN-Bridge</translation>
    </message>
    <message>
        <source>Name</source>
        <extracomment>Column headings of the bridge list, 130 pixels each.</extracomment>
        <translation>Name</translation>
    </message>
    <message>
        <source>Mac Address</source>
        <translation>MAC-Adresse</translation>
    </message>
</context>
<context>
    <name>OpenError</name>
    <message>
        <source>The operating system is out
of memory or resources.</source>
        <translation>Das Betriebssystem hat nicht genügend
Speicher oder Ressourcen.</translation>
    </message>
    <message>
        <source>The specified file was not found.</source>
        <translation>Die angegebene Datei wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The specified path was not found.</source>
        <translation>Der angegebene Pfad wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The operating system denied
access to the specified file.</source>
        <translation>Das Betriebssystem hat den Zugriff
auf die angegebene Datei verweigert.</translation>
    </message>
    <message>
        <source>There was not enough memory to complete the operation.</source>
        <translation>Für diesen Vorgang ist nicht genügend Speicher verfügbar.</translation>
    </message>
    <message>
        <source>The .EXE file is invalid
(non-Win32 .EXE or error in .EXE image).</source>
        <translation>Die .EXE-Datei ist ungültig
(keine Win32-.EXE oder Fehler im .EXE-Abbild).</translation>
    </message>
    <message>
        <source>A sharing violation occurred. </source>
        <translation>Es ist eine Freigabeverletzung aufgetreten. </translation>
    </message>
    <message>
        <source>The filename association is
incomplete or invalid.</source>
        <translation>Die Dateizuordnung ist
unvollständig oder ungültig.</translation>
    </message>
    <message>
        <source>The DDE transaction failed.</source>
        <translation>Die DDE-Transaktion ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because other DDE transactions
were being processed.</source>
        <translation>Die DDE-Transaktion konnte nicht
abgeschlossen werden, da gerade andere
DDE-Transaktionen verarbeitet wurden.</translation>
    </message>
    <message>
        <source>There is no application associated
with the given filename extension.</source>
        <translation>Der angegebenen Dateinamenerweiterung
ist keine Anwendung zugeordnet.</translation>
    </message>
    <message>
        <source>The specified dynamic-link library was not found.</source>
        <translation>Die angegebene Dynamic Link Library (DLL) wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Unknown Error (%1) occurred.</source>
        <translation>Ein unbekannter Fehler (%1) ist aufgetreten.</translation>
    </message>
    <message>
        <source>Unable to open hyperlink:

</source>
        <translation>Der Hyperlink kann nicht geöffnet werden:

</translation>
    </message>
</context>
<context>
    <name>PageWords</name>
    <message>
        <source>QBR20G Setup Wizard</source>
        <translation>QBR20G-Einrichtungsassistent</translation>
    </message>
    <message>
        <source>Wi-Fi client bridge configuration</source>
        <translation>Konfiguration der WLAN-Client-Bridge</translation>
    </message>
    <message>
        <source>802.11b/g Wireless Bridge   •   Setup Wizard   •   Model QBR20G</source>
        <translation>802.11b/g-WLAN-Bridge   •   Einrichtungsassistent   •   Modell QBR20G</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Refresh List</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Visit Web Site</source>
        <translation>Zur Website</translation>
    </message>
    <message>
        <source>Select your bridge</source>
        <extracomment>Page 1 title, drawn in the header: one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Bridge auswählen</translation>
    </message>
    <message>
        <source>Select a bridge from the list and click Next.</source>
        <extracomment>Page 1 instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Wählen Sie eine Bridge aus der Liste aus und klicken Sie auf „Weiter“.</translation>
    </message>
    <message>
        <source>Bridges on the network</source>
        <extracomment>The heading over the bridge list: one line of 270 pixels.</extracomment>
        <translation>Bridges im Netzwerk</translation>
    </message>
    <message>
        <source>Version</source>
        <extracomment>Drawn before the version number at the top right: about 60 pixels.</extracomment>
        <translation>Version</translation>
    </message>
    <message>
        <source>Click Refresh List to find bridges recently added to the network.</source>
        <extracomment>A note beside the bridge list: a box of 150 x 80 pixels, wrapped.</extracomment>
        <translation>Klicken Sie auf „Aktualisieren“, um neu angeschlossene Bridges zu finden.</translation>
    </message>
    <message>
        <source>Choose a wireless network</source>
        <extracomment>Page 2 title, drawn in the header: one line of about 400 pixels in a large bold font.</extracomment>
        <translation>WLAN-Netzwerk auswählen</translation>
    </message>
    <message>
        <source>Select a network from the list, click Refresh List to search again, or enter the SSID manually. Then click Next.</source>
        <extracomment>Page 2 instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Wählen Sie ein Netzwerk aus der Liste, suchen Sie mit „Aktualisieren“ erneut oder geben Sie die SSID manuell ein. Klicken Sie dann auf „Weiter“.</translation>
    </message>
    <message>
        <source>Wireless networks</source>
        <extracomment>Not drawn: the name screen readers give the list of networks.</extracomment>
        <translation>WLAN-Netzwerke</translation>
    </message>
    <message>
        <source>From list</source>
        <extracomment>The label of a choice: about 90 pixels, in bold.</extracomment>
        <translation>Aus Liste</translation>
    </message>
    <message>
        <source>Manual</source>
        <extracomment>The label of a choice: about 60 pixels, in bold.</extracomment>
        <translation>Manuell</translation>
    </message>
    <message>
        <source>Channel</source>
        <extracomment>A field label (and a summary row): at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Kanal</translation>
    </message>
    <message>
        <source>You can enter the SSID manually, for a network that hides its name, and choose its channel.</source>
        <extracomment>A note beside the manual entry: a box of 278 x 46 pixels, wrapped.</extracomment>
        <translation>Für ein Netzwerk mit verborgenem Namen können Sie die SSID manuell eingeben und den Kanal wählen.</translation>
    </message>
    <message>
        <source>Choose the security mode</source>
        <extracomment>Page 3 title, drawn in the header: one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Sicherheitsmodus auswählen</translation>
    </message>
    <message>
        <source>Choose the security that the wireless network uses.</source>
        <extracomment>Page 3 instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Wählen Sie die Sicherheit aus, die das WLAN-Netzwerk verwendet.</translation>
    </message>
    <message>
        <source>Security</source>
        <extracomment>A field label (and a summary row): at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Sicherheit</translation>
    </message>
    <message>
        <source>Disable</source>
        <extracomment>A security mode: no security, an open network. Also an entry of the mode list: about 80 pixels.</extracomment>
        <translation>Keine</translation>
    </message>
    <message>
        <source>an open network without a key</source>
        <extracomment>What a security mode means: one line of 340 pixels.</extracomment>
        <translation>ein offenes Netzwerk ohne Schlüssel</translation>
    </message>
    <message>
        <source>64-bit or 128-bit WEP keys</source>
        <extracomment>What a security mode means: one line of 340 pixels.</extracomment>
        <translation>64-Bit- oder 128-Bit-WEP-Schlüssel</translation>
    </message>
    <message>
        <source>a passphrase, TKIP encryption</source>
        <extracomment>What a security mode means: one line of 340 pixels.</extracomment>
        <translation>eine Passphrase, TKIP-Verschlüsselung</translation>
    </message>
    <message>
        <source>a passphrase, AES encryption</source>
        <extracomment>What a security mode means: one line of 340 pixels.</extracomment>
        <translation>eine Passphrase, AES-Verschlüsselung</translation>
    </message>
    <message>
        <source>Choose Disable and click Next for an open network; the other choices take you to their keys.</source>
        <extracomment>A note under the security modes: at most two lines of about 560 pixels.</extracomment>
        <translation>Wählen Sie für ein offenes Netzwerk „Keine“ und klicken Sie auf „Weiter“; die anderen Optionen führen zu ihren Schlüsseln.</translation>
    </message>
    <message>
        <source>Enter the WEP keys</source>
        <extracomment>Page 3 title (WEP keys): one line of about 400 pixels in a large bold font.</extracomment>
        <translation>WEP-Schlüssel eingeben</translation>
    </message>
    <message>
        <source>Enter up to four keys and choose the key that the bridge uses.</source>
        <extracomment>WEP page instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Geben Sie bis zu vier Schlüssel ein und wählen Sie den Schlüssel, den die Bridge verwendet.</translation>
    </message>
    <message>
        <source>Key 1</source>
        <extracomment>A field label: at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Schlüssel 1</translation>
    </message>
    <message>
        <source>Key 2</source>
        <translation>Schlüssel 2</translation>
    </message>
    <message>
        <source>Key 3</source>
        <translation>Schlüssel 3</translation>
    </message>
    <message>
        <source>Key 4</source>
        <translation>Schlüssel 4</translation>
    </message>
    <message>
        <source>Key Index</source>
        <extracomment>A field label: at most 150 pixels, right-aligned, bold. The key (1 to 4) that the bridge sends with.</extracomment>
        <translation>Schlüsselindex</translation>
    </message>
    <message>
        <source>Key format</source>
        <extracomment>Not drawn: the name screen readers give the list of key formats (ASCII or HEX).</extracomment>
        <translation>Schlüsselformat</translation>
    </message>
    <message>
        <source>Key length</source>
        <extracomment>The heading of the help box beside the keys: one line of about 220 pixels, bold.</extracomment>
        <translation>Schlüssellänge</translation>
    </message>
    <message>
        <source>64-bit WEP: 10 hex digits or 5 ASCII characters.
128-bit WEP: 26 hex digits or 13 ASCII characters.
Hex digits are 0 to 9 and A to F.
All keys you enter must have the same length.</source>
        <extracomment>The help box beside the keys: 4 lines of about 220 pixels, wrapped.</extracomment>
        <translation>64-Bit-WEP: 10 Hex-Ziffern oder 5 ASCII-Zeichen.
128-Bit-WEP: 26 Hex-Ziffern oder 13 ASCII-Zeichen.
Hex-Ziffern sind 0 bis 9 und A bis F.
Alle eingegebenen Schlüssel müssen gleich lang sein.</translation>
    </message>
    <message>
        <source>10 OR 26 HEX DIGITS</source>
        <extracomment>A hint in a 5 x 7 pixel font: at most 19 characters, capitals A-Z, digits, space and - / . only (anything else is drawn smaller in an ordinary font).</extracomment>
        <translation>10/26 HEX-ZIFFERN</translation>
    </message>
    <message>
        <source>5 OR 13 ASCII CHARS</source>
        <extracomment>A hint in a 5 x 7 pixel font: at most 19 characters, capitals A-Z, digits, space and - / . only (anything else is drawn smaller in an ordinary font).</extracomment>
        <translation>5/13 ASCII-ZEICHEN</translation>
    </message>
    <message>
        <source>Enter the WPA passphrase</source>
        <extracomment>Page 3 title (WPA-PSK): one line of about 400 pixels in a large bold font.</extracomment>
        <translation>WPA-Passphrase eingeben</translation>
    </message>
    <message>
        <source>Enter the passphrase of the wireless network.</source>
        <extracomment>WPA page instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Geben Sie die Passphrase des WLAN-Netzwerks ein.</translation>
    </message>
    <message>
        <source>Enter the WPA2 passphrase</source>
        <extracomment>Page 3 title (WPA2-PSK): one line of about 400 pixels in a large bold font.</extracomment>
        <translation>WPA2-Passphrase eingeben</translation>
    </message>
    <message>
        <source>Encryption</source>
        <extracomment>A field label: at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Verschlüsselung</translation>
    </message>
    <message>
        <source>Passphrase</source>
        <extracomment>A field label: at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Passphrase</translation>
    </message>
    <message>
        <source>TKIP is selected automatically for WPA-PSK.</source>
        <extracomment>A note beside the cipher: one line of about 300 pixels.</extracomment>
        <translation>Bei WPA-PSK wird TKIP automatisch gewählt.</translation>
    </message>
    <message>
        <source>AES is selected automatically for WPA2-PSK.</source>
        <extracomment>A note beside the cipher: one line of about 300 pixels.</extracomment>
        <translation>Bei WPA2-PSK wird AES automatisch gewählt.</translation>
    </message>
    <message>
        <source>The passphrase is case-sensitive and 8 to 63 characters long.</source>
        <extracomment>A note under the passphrase: at most two lines of about 300 pixels.</extracomment>
        <translation>Die Passphrase hat 8 bis 63 Zeichen; Groß-/Kleinschreibung wird beachtet.</translation>
    </message>
    <message>
        <source>Review and save</source>
        <extracomment>Summary page title: one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Überprüfen und speichern</translation>
    </message>
    <message>
        <source>Review the new settings, then click Next to save them into the bridge.</source>
        <extracomment>Summary page instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Überprüfen Sie die neuen Einstellungen und klicken Sie dann auf „Weiter“, um sie in der Bridge zu speichern.</translation>
    </message>
    <message>
        <source>Old settings</source>
        <extracomment>The heading of a panel: one line of 260 pixels, bold.</extracomment>
        <translation>Alte Einstellungen</translation>
    </message>
    <message>
        <source>New settings</source>
        <extracomment>The heading of a panel: one line of 260 pixels, bold.</extracomment>
        <translation>Neue Einstellungen</translation>
    </message>
    <message>
        <source>Network Type</source>
        <extracomment>A summary row label: at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Netzwerktyp</translation>
    </message>
    <message>
        <source>Congratulations!</source>
        <extracomment>Finish page title: one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Herzlichen Glückwunsch!</translation>
    </message>
    <message>
        <source>Your QBR20G bridge has been configured successfully.</source>
        <extracomment>Finish page text under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Ihre QBR20G-Bridge wurde erfolgreich konfiguriert.</translation>
    </message>
    <message>
        <source>Searching for the bridge ...</source>
        <extracomment>A progress banner&apos;s caption: one line of 216 pixels, bold.</extracomment>
        <translation>Bridge wird gesucht ...</translation>
    </message>
    <message>
        <source>Looking for QBR20G bridges on the wire</source>
        <extracomment>The line under a progress banner&apos;s caption: one line of 216 pixels, small.</extracomment>
        <translation>Suche nach QBR20G-Bridges am Kabel</translation>
    </message>
    <message>
        <source>Please wait ...</source>
        <extracomment>A progress banner&apos;s caption: one line of 216 pixels, bold.</extracomment>
        <translation>Bitte warten ...</translation>
    </message>
    <message>
        <source>The bridge is working on your request</source>
        <extracomment>The line under a progress banner&apos;s caption: one line of 216 pixels, small.</extracomment>
        <translation>Die Bridge bearbeitet Ihre Anfrage</translation>
    </message>
    <message>
        <source>Settings saved</source>
        <extracomment>The saved notice&apos;s caption: one line of 280 pixels, large and bold.</extracomment>
        <translation>Einstellungen gespeichert</translation>
    </message>
    <message>
        <source>The new configuration has been saved in the bridge.</source>
        <extracomment>The saved notice&apos;s text: at most two lines of 285 pixels.</extracomment>
        <translation>Die neue Konfiguration wurde in der Bridge gespeichert.</translation>
    </message>
    <message>
        <source>Close this notice with the × above.</source>
        <extracomment>The saved notice&apos;s last line: one line of 285 pixels, small.</extracomment>
        <translation>Hinweis mit dem × oben schließen.</translation>
    </message>
</context>
<context>
    <name>SetupApp</name>
    <message>
        <source>the wizard</source>
        <extracomment>How the start-up error names this program, within a sentence (and at the start of one, where it is given a capital).</extracomment>
        <translation>der Assistent</translation>
    </message>
</context>
<context>
    <name>SiteSurveyPage</name>
    <message>
        <source>channel %1</source>
        <extracomment>An entry of the channel list, 150 pixels wide.</extracomment>
        <translation>Kanal %1</translation>
    </message>
    <message>
        <source>SSID</source>
        <translation>SSID</translation>
    </message>
    <message>
        <source>Mac Address</source>
        <translation>MAC-Adresse</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Kanal</translation>
    </message>
    <message>
        <source>Signal</source>
        <translation>Signal</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Sicherheit</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Datenrate</translation>
    </message>
    <message>
        <source>Searching Wireless Network ...</source>
        <extracomment>The status line under the network list while the bridge searches; about 60 characters.</extracomment>
        <translation>WLAN-Netzwerke werden gesucht ...</translation>
    </message>
    <message numerus="yes">
        <source>There are %n wireless networks.</source>
        <extracomment>The status line under the network list after a search; about 60 characters.</extracomment>
        <translation>
            <numerusform>%n WLAN-Netzwerk gefunden.</numerusform>
            <numerusform>%n WLAN-Netzwerke gefunden.</numerusform>
        </translation>
    </message>
    <message>
        <source>You must input the ssid!</source>
        <extracomment>The status line when Next is clicked with no SSID typed; about 60 characters.</extracomment>
        <translation>Sie müssen die SSID eingeben!</translation>
    </message>
</context>
<context>
    <name>SummaryPage</name>
    <message>
        <source>Auto</source>
        <extracomment>A summary field, 120 pixels wide: the channel is chosen by the bridge.</extracomment>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Infrastructure</source>
        <extracomment>A summary field, 120 pixels wide: the network type (an access point&apos;s network, not ad hoc).</extracomment>
        <translation>Infrastruktur</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>The name a screen reader gives a summary field: the column, then the row, e.g. &quot;New settings: SSID&quot;.</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Saving wifi config ...</source>
        <extracomment>The status line under the summary, while the bridge saves; about 60 characters.</extracomment>
        <translation>WLAN-Konfiguration wird gespeichert ...</translation>
    </message>
    <message>
        <source>Save config successfully !</source>
        <extracomment>The status line once the bridge has saved; about 60 characters.</extracomment>
        <translation>Konfiguration erfolgreich gespeichert!</translation>
    </message>
    <message>
        <source>Save config failed !</source>
        <translation>Speichern der Konfiguration fehlgeschlagen!</translation>
    </message>
</context>
<context>
    <name>WepPage</name>
    <message>
        <source>Key1</source>
        <extracomment>The entries of the Key Index list, 90 pixels wide.</extracomment>
        <translation>Schlüssel 1</translation>
    </message>
    <message>
        <source>Key2</source>
        <translation>Schlüssel 2</translation>
    </message>
    <message>
        <source>Key3</source>
        <translation>Schlüssel 3</translation>
    </message>
    <message>
        <source>Key4</source>
        <translation>Schlüssel 4</translation>
    </message>
</context>
</TS>
