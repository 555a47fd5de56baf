<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES" sourcelanguage="en">
<context>
    <name>DeviceListPage</name>
    <message>
        <source>QBR20N, a professional 150M Mini WiFi Bridge</source>
        <extracomment>The tool tip of the product picture.</extracomment>
        <translation>QBR20N, un minipuente Wi-Fi profesional de 150M</translation>
    </message>
    <message>
        <source>Name</source>
        <extracomment>Column headings of the bridge list, 130 pixels each.</extracomment>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Mac Address</source>
        <translation>Dirección MAC</translation>
    </message>
</context>
<context>
    <name>OpenError</name>
    <message>
        <source>The operating system is out
of memory or resources.</source>
        <translation>El sistema operativo no tiene
memoria o recursos suficientes.</translation>
    </message>
    <message>
        <source>The specified file was not found.</source>
        <translation>No se encontró el archivo especificado.</translation>
    </message>
    <message>
        <source>The specified path was not found.</source>
        <translation>No se encontró la ruta especificada.</translation>
    </message>
    <message>
        <source>The operating system denied
access to the specified file.</source>
        <translation>El sistema operativo denegó
el acceso al archivo especificado.</translation>
    </message>
    <message>
        <source>There was not enough memory to complete the operation.</source>
        <translation>No hay memoria suficiente para completar la operación.</translation>
    </message>
    <message>
        <source>The .EXE file is invalid
(non-Win32 .EXE or error in .EXE image).</source>
        <translation>El archivo .EXE no es válido
(no es un .EXE de Win32 o hay un error en la imagen .EXE).</translation>
    </message>
    <message>
        <source>A sharing violation occurred. </source>
        <translation>Se produjo una infracción de uso compartido. </translation>
    </message>
    <message>
        <source>The filename association is
incomplete or invalid.</source>
        <translation>La asociación del nombre de archivo
está incompleta o no es válida.</translation>
    </message>
    <message>
        <source>The DDE transaction failed.</source>
        <translation>Error en la transacción DDE.</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because other DDE transactions
were being processed.</source>
        <translation>No se pudo completar la transacción DDE
porque se estaban procesando
otras transacciones DDE.</translation>
    </message>
    <message>
        <source>There is no application associated
with the given filename extension.</source>
        <translation>No hay ninguna aplicación asociada
con la extensión de archivo indicada.</translation>
    </message>
    <message>
        <source>The specified dynamic-link library was not found.</source>
        <translation>No se encontró la biblioteca de vínculos dinámicos especificada.</translation>
    </message>
    <message>
        <source>Unknown Error (%1) occurred.</source>
        <translation>Se produjo un error desconocido (%1).</translation>
    </message>
    <message>
        <source>Unable to open hyperlink:

</source>
        <translation>No se puede abrir el hipervínculo:

</translation>
    </message>
</context>
<context>
    <name>PageWords</name>
    <message>
        <source>QBR20G Setup Wizard</source>
        <translation>Asistente de configuración de QBR20G</translation>
    </message>
    <message>
        <source>Wi-Fi client bridge configuration</source>
        <translation>Configuración del puente cliente Wi-Fi</translation>
    </message>
    <message>
        <source>802.11b/g Wireless Bridge   •   Setup Wizard   •   Model QBR20G</source>
        <translation>Puente inalámbrico 802.11b/g   •   Asistente de configuración   •   Modelo QBR20G</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Atrás</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Seguir</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Refresh List</source>
        <translation>Actualizar lista</translation>
    </message>
    <message>
        <source>Visit Web Site</source>
        <translation>Visitar sitio web</translation>
    </message>
    <message>
        <source>Select your bridge</source>
        <extracomment>Page 1 title, drawn in the header: one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Seleccione su puente</translation>
    </message>
    <message>
        <source>Select a bridge from the list and click Next.</source>
        <extracomment>Page 1 instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Seleccione un puente de la lista y pulse Seguir.</translation>
    </message>
    <message>
        <source>Bridges on the network</source>
        <extracomment>The heading over the bridge list: one line of 270 pixels.</extracomment>
        <translation>Puentes en la red</translation>
    </message>
    <message>
        <source>Version</source>
        <extracomment>Drawn before the version number at the top right: about 60 pixels.</extracomment>
        <translation>Versión</translation>
    </message>
    <message>
        <source>Click Refresh List to find bridges recently added to the network.</source>
        <extracomment>A note beside the bridge list: a box of 150 x 80 pixels, wrapped.</extracomment>
        <translation>Pulse Actualizar lista para buscar puentes añadidos recientemente a la red.</translation>
    </message>
    <message>
        <source>Choose a wireless network</source>
        <extracomment>Page 2 title, drawn in the header: one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Elija una red inalámbrica</translation>
    </message>
    <message>
        <source>Select a network from the list, click Refresh List to search again, or enter the SSID manually. Then click Next.</source>
        <extracomment>Page 2 instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Seleccione una red de la lista, pulse Actualizar lista para volver a buscar o introduzca el SSID manualmente. Después pulse Seguir.</translation>
    </message>
    <message>
        <source>Wireless networks</source>
        <extracomment>Not drawn: the name screen readers give the list of networks.</extracomment>
        <translation>Redes inalámbricas</translation>
    </message>
    <message>
        <source>From list</source>
        <extracomment>The label of a choice: about 90 pixels, in bold.</extracomment>
        <translation>De la lista</translation>
    </message>
    <message>
        <source>Manual</source>
        <extracomment>The label of a choice: about 60 pixels, in bold.</extracomment>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Channel</source>
        <extracomment>A field label (and a summary row): at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Canal</translation>
    </message>
    <message>
        <source>You can enter the SSID manually, for a network that hides its name, and choose its channel.</source>
        <extracomment>A note beside the manual entry: a box of 278 x 46 pixels, wrapped.</extracomment>
        <translation>Puede introducir el SSID manualmente, para una red que oculta su nombre, y elegir su canal.</translation>
    </message>
    <message>
        <source>Choose the security mode</source>
        <extracomment>Page 3 title, drawn in the header: one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Elija el modo de seguridad</translation>
    </message>
    <message>
        <source>Choose the security that the wireless network uses.</source>
        <extracomment>Page 3 instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Elija la seguridad que usa la red inalámbrica.</translation>
    </message>
    <message>
        <source>Security</source>
        <extracomment>A field label (and a summary row): at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Seguridad</translation>
    </message>
    <message>
        <source>Disable</source>
        <extracomment>A security mode: no security, an open network. Also an entry of the mode list: about 80 pixels.</extracomment>
        <translation>Ninguna</translation>
    </message>
    <message>
        <source>an open network without a key</source>
        <extracomment>What a security mode means: one line of 340 pixels.</extracomment>
        <translation>una red abierta sin clave</translation>
    </message>
    <message>
        <source>64-bit or 128-bit WEP keys</source>
        <extracomment>What a security mode means: one line of 340 pixels.</extracomment>
        <translation>claves WEP de 64 o 128 bits</translation>
    </message>
    <message>
        <source>a passphrase, TKIP encryption</source>
        <extracomment>What a security mode means: one line of 340 pixels.</extracomment>
        <translation>una contraseña, cifrado TKIP</translation>
    </message>
    <message>
        <source>a passphrase, AES encryption</source>
        <extracomment>What a security mode means: one line of 340 pixels.</extracomment>
        <translation>una contraseña, cifrado AES</translation>
    </message>
    <message>
        <source>Choose Disable and click Next for an open network; the other choices take you to their keys.</source>
        <extracomment>A note under the security modes: at most two lines of about 560 pixels.</extracomment>
        <translation>Para una red abierta, elija Ninguna y pulse Seguir; las demás opciones le llevan a sus claves.</translation>
    </message>
    <message>
        <source>Enter the WEP keys</source>
        <extracomment>Page 3 title (WEP keys): one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Introduzca las claves WEP</translation>
    </message>
    <message>
        <source>Enter up to four keys and choose the key that the bridge uses.</source>
        <extracomment>WEP page instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Introduzca hasta cuatro claves y elija la clave que usa el puente.</translation>
    </message>
    <message>
        <source>Key 1</source>
        <extracomment>A field label: at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Clave 1</translation>
    </message>
    <message>
        <source>Key 2</source>
        <translation>Clave 2</translation>
    </message>
    <message>
        <source>Key 3</source>
        <translation>Clave 3</translation>
    </message>
    <message>
        <source>Key 4</source>
        <translation>Clave 4</translation>
    </message>
    <message>
        <source>Key Index</source>
        <extracomment>A field label: at most 150 pixels, right-aligned, bold. The key (1 to 4) that the bridge sends with.</extracomment>
        <translation>Índice de clave</translation>
    </message>
    <message>
        <source>Key format</source>
        <extracomment>Not drawn: the name screen readers give the list of key formats (ASCII or HEX).</extracomment>
        <translation>Formato de clave</translation>
    </message>
    <message>
        <source>Key length</source>
        <extracomment>The heading of the help box beside the keys: one line of about 220 pixels, bold.</extracomment>
        <translation>Longitud de clave</translation>
    </message>
    <message>
        <source>64-bit WEP: 10 hex digits or 5 ASCII characters.
128-bit WEP: 26 hex digits or 13 ASCII characters.
Hex digits are 0 to 9 and A to F.
All keys you enter must have the same length.</source>
        <extracomment>The help box beside the keys: 4 lines of about 220 pixels, wrapped.</extracomment>
        <translation>WEP de 64 bits: 10 dígitos hex o 5 caracteres ASCII.
WEP de 128 bits: 26 dígitos hex o 13 caracteres ASCII.
Los dígitos hex son del 0 al 9 y de la A a la F.
Todas las claves deben tener la misma longitud.</translation>
    </message>
    <message>
        <source>10 OR 26 HEX DIGITS</source>
        <extracomment>A hint in a 5 x 7 pixel font: at most 19 characters, capitals A-Z, digits, space and - / . only (anything else is drawn smaller in an ordinary font).</extracomment>
        <translation>10/26 DIGITOS HEX</translation>
    </message>
    <message>
        <source>5 OR 13 ASCII CHARS</source>
        <extracomment>A hint in a 5 x 7 pixel font: at most 19 characters, capitals A-Z, digits, space and - / . only (anything else is drawn smaller in an ordinary font).</extracomment>
        <translation>5/13 CARACT. ASCII</translation>
    </message>
    <message>
        <source>Enter the WPA passphrase</source>
        <extracomment>Page 3 title (WPA-PSK): one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Introduzca la contraseña WPA</translation>
    </message>
    <message>
        <source>Enter the passphrase of the wireless network.</source>
        <extracomment>WPA page instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Introduzca la contraseña de la red inalámbrica.</translation>
    </message>
    <message>
        <source>Enter the WPA2 passphrase</source>
        <extracomment>Page 3 title (WPA2-PSK): one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Introduzca la contraseña WPA2</translation>
    </message>
    <message>
        <source>Encryption</source>
        <extracomment>A field label: at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Cifrado</translation>
    </message>
    <message>
        <source>Passphrase</source>
        <extracomment>A field label: at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Contraseña</translation>
    </message>
    <message>
        <source>TKIP is selected automatically for WPA-PSK.</source>
        <extracomment>A note beside the cipher: one line of about 300 pixels.</extracomment>
        <translation>TKIP se selecciona automáticamente para WPA-PSK.</translation>
    </message>
    <message>
        <source>AES is selected automatically for WPA2-PSK.</source>
        <extracomment>A note beside the cipher: one line of about 300 pixels.</extracomment>
        <translation>AES se selecciona automáticamente para WPA2-PSK.</translation>
    </message>
    <message>
        <source>The passphrase is case-sensitive and 8 to 63 characters long.</source>
        <extracomment>A note under the passphrase: at most two lines of about 300 pixels.</extracomment>
        <translation>La contraseña distingue mayúsculas y minúsculas y tiene de 8 a 63 caracteres.</translation>
    </message>
    <message>
        <source>Review and save</source>
        <extracomment>Summary page title: one line of about 400 pixels in a large bold font.</extracomment>
        <translation>Revise y guarde</translation>
    </message>
    <message>
        <source>Review the new settings, then click Next to save them into the bridge.</source>
        <extracomment>Summary page instruction under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Revise la nueva configuración y pulse Seguir para guardarla en el puente.</translation>
    </message>
    <message>
        <source>Old settings</source>
        <extracomment>The heading of a panel: one line of 260 pixels, bold.</extracomment>
        <translation>Configuración anterior</translation>
    </message>
    <message>
        <source>New settings</source>
        <extracomment>The heading of a panel: one line of 260 pixels, bold.</extracomment>
        <translation>Configuración nueva</translation>
    </message>
    <message>
        <source>Network Type</source>
        <extracomment>A summary row label: at most 150 pixels, right-aligned, bold.</extracomment>
        <translation>Tipo de red</translation>
    </message>
    <message>
        <source>Congratulations!</source>
        <extracomment>Finish page title: one line of about 400 pixels in a large bold font.</extracomment>
        <translation>¡Enhorabuena!</translation>
    </message>
    <message>
        <source>Your QBR20G bridge has been configured successfully.</source>
        <extracomment>Finish page text under the header: at most two lines of 575 pixels.</extracomment>
        <translation>Su puente QBR20G se ha configurado correctamente.</translation>
    </message>
    <message>
        <source>Searching for the bridge ...</source>
        <extracomment>A progress banner&apos;s caption: one line of 216 pixels, bold.</extracomment>
        <translation>Buscando el puente ...</translation>
    </message>
    <message>
        <source>Looking for QBR20G bridges on the wire</source>
        <extracomment>The line under a progress banner&apos;s caption: one line of 216 pixels, small.</extracomment>
        <translation>Buscando puentes QBR20G por cable</translation>
    </message>
    <message>
        <source>Please wait ...</source>
        <extracomment>A progress banner&apos;s caption: one line of 216 pixels, bold.</extracomment>
        <translation>Espere, por favor ...</translation>
    </message>
    <message>
        <source>The bridge is working on your request</source>
        <extracomment>The line under a progress banner&apos;s caption: one line of 216 pixels, small.</extracomment>
        <translation>El puente está procesando su solicitud</translation>
    </message>
    <message>
        <source>Settings saved</source>
        <extracomment>The saved notice&apos;s caption: one line of 280 pixels, large and bold.</extracomment>
        <translation>Configuración guardada</translation>
    </message>
    <message>
        <source>The new configuration has been saved in the bridge.</source>
        <extracomment>The saved notice&apos;s text: at most two lines of 285 pixels.</extracomment>
        <translation>La nueva configuración se ha guardado en el puente.</translation>
    </message>
    <message>
        <source>Close this notice with the × above.</source>
        <extracomment>The saved notice&apos;s last line: one line of 285 pixels, small.</extracomment>
        <translation>Cierre este aviso con la × de arriba.</translation>
    </message>
</context>
<context>
    <name>SetupApp</name>
    <message>
        <source>the wizard</source>
        <extracomment>How the start-up error names this program, within a sentence (and at the start of one, where it is given a capital).</extracomment>
        <translation>el asistente</translation>
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
        <translation>Dirección MAC</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Canal</translation>
    </message>
    <message>
        <source>Signal</source>
        <translation>Señal</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Seguridad</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Velocidad</translation>
    </message>
    <message>
        <source>Searching Wireless Network ...</source>
        <extracomment>The status line under the network list while the bridge searches; about 60 characters.</extracomment>
        <translation>Buscando redes inalámbricas ...</translation>
    </message>
    <message numerus="yes">
        <source>There are %n wireless networks.</source>
        <extracomment>The status line under the network list after a search; about 60 characters.</extracomment>
        <translation>
            <numerusform>Hay %n red inalámbrica.</numerusform>
            <numerusform>Hay %n redes inalámbricas.</numerusform>
        </translation>
    </message>
    <message>
        <source>You must input the ssid!</source>
        <extracomment>The status line when Next is clicked with no SSID typed; about 60 characters.</extracomment>
        <translation>¡Debe introducir el SSID!</translation>
    </message>
</context>
<context>
    <name>SummaryPage</name>
    <message>
        <source>Auto</source>
        <extracomment>A summary field, 120 pixels wide: the channel is chosen by the bridge.</extracomment>
        <translation>Automático</translation>
    </message>
    <message>
        <source>Infrastructure</source>
        <extracomment>A summary field, 120 pixels wide: the network type (an access point&apos;s network, not ad hoc).</extracomment>
        <translation>Infraestructura</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>The name a screen reader gives a summary field: the column, then the row, e.g. &quot;New settings: SSID&quot;.</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Saving wifi config ...</source>
        <extracomment>The status line under the summary, while the bridge saves; about 60 characters.</extracomment>
        <translation>Guardando la configuración Wi-Fi ...</translation>
    </message>
    <message>
        <source>Save config successfully !</source>
        <extracomment>The status line once the bridge has saved; about 60 characters.</extracomment>
        <translation>¡Configuración guardada correctamente!</translation>
    </message>
    <message>
        <source>Save config failed !</source>
        <translation>¡Error al guardar la configuración!</translation>
    </message>
</context>
<context>
    <name>WepPage</name>
    <message>
        <source>Key1</source>
        <extracomment>The entries of the Key Index list, 90 pixels wide.</extracomment>
        <translation>Clave 1</translation>
    </message>
    <message>
        <source>Key2</source>
        <translation>Clave 2</translation>
    </message>
    <message>
        <source>Key3</source>
        <translation>Clave 3</translation>
    </message>
    <message>
        <source>Key4</source>
        <translation>Clave 4</translation>
    </message>
</context>
</TS>
