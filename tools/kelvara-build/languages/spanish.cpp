// Spanish texts of the installer and the uninstaller.
#include "kelvara-build/languages/builtin_languages.h"

namespace kelvara::build {
namespace {

constexpr int kSetup = kTableSetupMessages;
constexpr int kError = kTableErrorMessages;
constexpr int kButton = kTableButtonLabels;
constexpr int kUn = kTableUninstaller;

constexpr BuiltinText kTexts[] = {
    {kPageLanguage, 0, "Instalación de %ProductName%"},
    {kPageLanguage, 1, "Seleccionar el idioma de instalación"},
    {kPageLanguage, 2, "Elija el idioma que desea usar durante la instalación."},
    {kPageLanguage, 3, "&Idioma:"},

    {kPageWelcome, 0, "Instalación de %ProductName%"},
    {kPageWelcome, 1, "Bienvenido a la instalación de %ProductName%"},
    {kPageWelcome, 2, "Este asistente instalará %ProductName% en su equipo."},
    {kPageWelcome, 3, "Le guiará a través de unos pocos pasos."},
    {kPageWelcome, 4, "Se recomienda cerrar todos los demás programas antes de continuar."},
    {kPageWelcome, 6,
     "Haga clic en Siguiente para continuar o en Cancelar para salir de la instalación."},
    {kPageWelcome, 7, "Bienvenido a la instalación"},

    {kPageLicense, 0, "Instalación de %ProductName%"},
    {kPageLicense, 1, "Contrato de licencia"},
    {kPageLicense, 2, "Lea el siguiente &contrato de licencia."},
    {kPageLicense, 3, "¿Acepta los términos de este contrato de licencia?"},

    {kPageReadme, 0, "Instalación de %ProductName%"},
    {kPageReadme, 1, "Información importante"},
    {kPageReadme, 2, "Lea la siguiente &información importante."},

    {kPageComponents, 0, "Instalación de %ProductName%"},
    {kPageComponents, 1, "Elegir componentes"},
    {kPageComponents, 2, "Elija qué partes de %ProductName% desea instalar."},
    {kPageComponents, 3, "&Tipo de instalación:"},
    {kPageComponents, 4, "&Componentes:"},
    {kPageComponents, 5, "Espacio necesario:"},
    {kPageComponents, 6, "Espacio disponible en la unidad %DISK%:"},
    {kPageComponents, 9, "Seleccione un componente para ver su descripción."},
    {kPageComponents, 14, "Descripción"},

    {kPageScope, 0, "Instalación de %ProductName%"},
    {kPageScope, 1, "Elegir usuarios"},
    {kPageScope, 2, "Elija para quién se instalará %ProductName%."},
    {kPageScope, 3, "Instalar para &todos los usuarios de este equipo"},
    {kPageScope, 4,
     "Todas las personas que usen este equipo podrán usar el programa. Para ello se necesitan "
     "derechos de administrador."},
    {kPageScope, 5, "Instalar solo para &mí"},
    {kPageScope, 6,
     "Solo usted podrá usar el programa. Se instalará en sus propias carpetas y no se necesitan "
     "derechos de administrador."},

    {kPageDestination, 0, "Instalación de %ProductName%"},
    {kPageDestination, 1, "Elegir la ubicación de instalación"},
    {kPageDestination, 2,
     "%ProductName% se instalará en la siguiente carpeta. Para usar otra carpeta, escriba su "
     "ruta o haga clic en Examinar."},
    {kPageDestination, 3, "&Carpeta de destino"},
    {kPageDestination, 4, "Seleccione la carpeta en la que desea instalar el programa:"},
    {kPageDestination, 5, "Espacio necesario:"},
    {kPageDestination, 6, "Espacio disponible en la unidad %DISK%:"},

    {kPageTasks, 0, "Instalación de %ProductName%"},
    {kPageTasks, 1, "Tareas adicionales"},
    {kPageTasks, 2, "Elija qué más debe hacer la instalación y haga clic en Siguiente."},
    {kPageTasks, 3, "&Tareas adicionales:"},
    {kPageTasks, 9, "Seleccione una tarea para ver su descripción."},

    {kPageStartMenu, 0, "Instalación de %ProductName%"},
    {kPageStartMenu, 1, "Elegir la carpeta del menú Inicio"},
    {kPageStartMenu, 2,
     "Los accesos &directos se crearán en esta carpeta del menú Inicio. Escriba un nombre o elija "
     "una existente."},
    {kPageStartMenu, 3, "Crear una carpeta en el &menú Inicio"},
    {kPageStartMenu, 4, "Crear accesos directos en el &escritorio"},
    {kPageStartMenu, 5, "Crear accesos directos en la barra de Inicio &rápido"},

    {kPageReady, 0, "Instalación de %ProductName%"},
    {kPageReady, 1, "Listo para instalar"},
    {kPageReady, 2,
     "El programa de instalación está listo para instalar %ProductName% en su equipo."},
    {kPageReady, 3,
     "Haga clic en Instalar para comenzar o en Atrás para revisar o cambiar la configuración."},

    {kPageInstalling, 0, "Instalación de %ProductName%"},
    {kPageInstalling, 1, "Instalando %ProductName%"},
    {kPageInstalling, 2, "Espere mientras se instala %ProductName% en su equipo."},
    {kPageInstalling, 3, "Para detener la instalación, haga clic en Cancelar."},
    {kPageInstalling, 4, "Copiando archivos..."},
    {kPageInstalling, 5, "Creando accesos directos..."},
    {kPageInstalling, 6, "Actualizando el Registro..."},
    {kPageInstalling, 7, "Actualizando archivos de configuración..."},
    {kPageInstalling, 8, "Registrando tipos de archivo..."},
    {kPageInstalling, 13, "Finalizando la instalación..."},

    {kPageFinish, 0, "Instalación de %ProductName%"},
    {kPageFinish, 1, "Instalación completada"},
    {kPageFinish, 2, "El programa de instalación ha terminado de instalar %ProductName%."},
    {kPageFinish, 3,
     "Ya puede usar %ProductName%. Haga clic en Finalizar para salir de la instalación."},
    {kPageFinish, 4, "Abrir la &documentación"},
    {kPageFinish, 5, "&Iniciar %ProductName% ahora"},
    {kPageFinish, 6, "&Reiniciar el equipo ahora"},
    {kPageFinish, 7,
     "Algunas partes no se pudieron instalar. Los mensajes mostrados durante la instalación "
     "describen los problemas."},
    {kPageFinish, 8,
     "Es necesario reiniciar Windows para completar la instalación. Reinicie ahora o desactive "
     "la casilla de abajo para reiniciar más tarde."},
    {kPageFinish, 9,
     "Algunos archivos estaban en uso. El programa de instalación los reemplazará cuando se "
     "reinicie el equipo."},
    {kPageFinish, 10, "Es necesario reiniciar el equipo para completar la instalación."},

    {kUn, 0, "Desinstalación de %s"},
    {kUn, 1, "Eliminación de la aplicación"},
    {kUn, 2, "Espere mientras se quita %s de su equipo."},
    {kUn, 3, "¿Está seguro de que desea quitar %s por completo?"},
    {kUn, 4, "Desinstalación completada"},
    {kUn, 5, "%s se ha quitado correctamente de su equipo."},
    {kUn, 6, "%s se ha quitado de su equipo, pero algunas de sus entradas no se pudieron quitar."},
    {kUn, 7,
     "La desinstalación no ha terminado.\nSi sale ahora, el programa no se desinstalará "
     "correctamente.\n\n¿Está seguro de que desea salir?"},
    {kUn, 8, "Finalizar"},
    {kUn, 10, "Cancelar"},
    {kUn, 11,
     "Algunas carpetas contienen archivos que no se crearon durante esta instalación y que no "
     "se pueden eliminar automáticamente. Active la casilla junto a cada archivo o carpeta que "
     "desee eliminar y haga clic en el botón 'Eliminar'."},
    {kUn, 12, "Seleccionar &todo"},
    {kUn, 13, "&Eliminar"},
    {kUn, 14, "¿Está seguro de que desea eliminar todos los archivos y carpetas seleccionados?"},
    {kUn, 15, "Confirmar la operación"},
    {kUn, 16, "Eliminando archivos..."},
    {kUn, 17, "Eliminando accesos directos del menú Inicio..."},
    {kUn, 18, "Eliminando entradas del Registro..."},
    {kUn, 19, "Iniciando programas..."},
    {kUn, 20, "Eliminando claves del Registro..."},
    {kUn, 21, "Llamando a funciones de DLL..."},
    {kUn, 22, "Eliminando archivos compartidos..."},
    {kUn, 23, "Eliminación de un valor del Registro"},
    {kUn, 24, "Error al eliminar el valor del Registro '%s' de la clave '%s'.\n%s"},
    {kUn, 25, "Eliminación de una clave del Registro"},
    {kUn, 26, "Error al eliminar la clave del Registro '%s'.\n%s"},
    {kUn, 27, "Paso de la desinstalación"},
    {kUn, 28,
     "Se produjo un error en este paso de la desinstalación:\n%s\n\n"
     "La desinstalación continuará."},
    {kUn, 29, "Eliminación de un archivo"},
    {kUn, 30,
     "El archivo %s\nestá siendo usado por otra aplicación.\n"
     "¿Desea volver a intentar eliminar el archivo, en lugar de reiniciar el equipo al final de "
     "la desinstalación?"},
    {kUn, 31, "Archivo compartido detectado"},
    {kUn, 32,
     "El sistema indica que ningún programa usa ya el siguiente archivo compartido. Si algún "
     "programa todavía usa este archivo y se elimina, es posible que ese programa deje de "
     "funcionar. ¿Está seguro de que desea eliminar el archivo compartido?\n\n"
     "Nombre de archivo: "},
    {kUn, 33, "\nUbicación: "},
    {kUn, 34,
     "\n\nConservar este archivo no dañará el sistema. Si no está seguro de qué hacer, se "
     "recomienda no eliminar este componente compartido."},
    {kUn, 35,
     "Ha elegido eliminar todos los componentes compartidos que, según el sistema, ya no se usan. "
     "Es posible que algunos programas dejen de funcionar si todavía necesitan alguno de estos "
     "archivos. ¿Está seguro de que desea continuar?"},
    {kUn, 36,
     "Estos programas usan archivos que deben eliminarse:\n\n%s\n\n¿Desea cerrarlos ahora?\n"
     "Si hace clic en No, seguirán en ejecución y sus archivos se eliminarán cuando se reinicie "
     "el equipo."},
    {kUn, 37, "&Sí"},
    {kUn, 38, "Sí a &todo"},
    {kUn, 39, "&No"},
    {kUn, 40,
     "Es necesario reiniciar el equipo para completar la desinstalación.\n"
     "Algunos archivos están en uso y solo se pueden eliminar al reiniciar el sistema.\n\n"
     "¿Desea reiniciar el sistema ahora?"},
    {kUn, 41,
     "No se pudo reiniciar el equipo.\n\n"
     "Reinícielo usted mismo para completar la desinstalación."},

    {kPageFilesInUse, 0, "Instalación de %ProductName%"},
    {kPageFilesInUse, 1, "Programas en uso"},
    {kPageFilesInUse, 2, "Hay programas en ejecución que usan archivos que deben reemplazarse."},
    {kPageFilesInUse, 3,
     "El programa de instalación puede cerrar estos programas ahora y volver a iniciarlos cuando "
     "termine la instalación:"},
    {kPageFilesInUse, 4, "&Cerrarlos automáticamente y volver a iniciarlos"},
    {kPageFilesInUse, 5, "&No cerrarlos (será necesario reiniciar el equipo)"},

    {kSetup, 0,
     "La instalación no ha terminado. Si sale ahora, el programa no se instalará.\n\n"
     "¿Desea salir de la instalación?"},
    {kSetup, 1,
     "Es necesario reiniciar el equipo para completar la configuración.\n\n"
     "¿Desea reiniciarlo ahora?"},
    {kSetup, 2,
     "La carpeta de instalación no es válida.\n\n"
     "Escriba la ruta completa de una carpeta, incluida la unidad."},
    {kSetup, 3,
     "La carpeta de destino no es válida.\n\n"
     "Escriba la ruta completa de una carpeta, incluida la unidad."},
    {kSetup, 4, "¿Desea detener la extracción de los archivos?"},
    {kSetup, 5,
     "Algunos archivos que el programa de instalación debía reemplazar estaban en uso. Se "
     "reemplazarán cuando se reinicie el equipo.\n\n¿Desea reiniciarlo ahora?"},
    {kSetup, 6,
     "El siguiente archivo está siendo usado por otro programa:\n%s\n\n"
     "¿Desea volver a intentarlo? Cierre primero ese programa y haga clic en Sí.\n"
     "Si hace clic en No, el archivo se reemplazará cuando se reinicie el equipo."},
    {kSetup, 7,
     "El siguiente archivo está siendo usado por otro programa y no se puede reemplazar:\n%s"},
    {kSetup, 8,
     "El programa de instalación todavía está instalando el programa.\n"
     "Si sale antes de que termine, se quitará todo lo instalado hasta ahora.\n\n"
     "¿Desea salir de la instalación?"},
    {kSetup, 9,
     "La instalación ha terminado, pero algunas partes del programa no se pudieron instalar.\n"
     "Los mensajes mostrados durante la instalación describen los problemas."},
    {kSetup, 10, "Reinicie el equipo antes de usar %s."},
    {kSetup, 11,
     "Necesita derechos de administrador para instalar este programa.\n\n"
     "Inicie sesión como administrador y vuelva a ejecutar la instalación."},
    {kSetup, 12,
     "Este programa requiere Windows NT, Windows 2000, Windows XP o una versión posterior de "
     "Windows."},
    {kSetup, 13,
     "Este programa requiere %s o una versión posterior.\n\nLa instalación no puede continuar."},
    {kSetup, 14, "Este programa requiere una versión de 64 bits de Windows."},
    {kSetup, 15, "Este programa requiere una versión de Windows para ARM64."},
    {kSetup, 16,
     "Estos programas usan archivos que el programa de instalación debe reemplazar:\n\n%s\n\n"
     "¿Desea que el programa de instalación los cierre y vuelva a iniciarlos después?\n"
     "Si hace clic en No, seguirán en ejecución y será necesario reiniciar el equipo para "
     "completar la instalación."},
    {kSetup, 17,
     "Ya hay una versión más reciente de %s instalada en este equipo (versión %s).\n\n"
     "El programa de instalación no puede instalar la versión anterior %s sobre ella. Para "
     "usar esta versión, desinstale primero la más reciente."},

    {kError, 0,
     "El programa de instalación no pudo crear la ventana que necesita para la instalación.\n\n"
     "El programa de instalación se cerrará."},
    {kError, 1,
     "Se denegó el acceso cuando el programa de instalación intentaba leer este archivo:\n%s\n\n"
     "¿Desea omitir este archivo y continuar?\nSi hace clic en No, el programa de instalación "
     "se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 2,
     "No tiene permiso para modificar este archivo:\n%s\n\n"
     "¿Desea omitir este archivo y continuar?\nSi hace clic en No, el programa de instalación "
     "se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 3,
     "Se denegó el acceso cuando el programa de instalación intentaba abrir este archivo:\n%s\n\n"
     "¿Desea omitir este archivo y continuar?\nSi hace clic en No, el programa de instalación "
     "se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 4,
     "El programa de instalación no pudo abrir este archivo para leerlo:\n%s\n\n%s\n\n"
     "¿Desea omitir este archivo y continuar?\nSi hace clic en No, el programa de instalación "
     "se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 5,
     "El programa de instalación no pudo abrir este archivo para reemplazarlo:\n%s\n\n%s\n\n"
     "¿Desea omitir este archivo y continuar?\nSi hace clic en No, el programa de instalación "
     "se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 6,
     "El programa de instalación no pudo abrir este archivo:\n%s\n\n%s\n\n"
     "¿Desea omitir este archivo y continuar?\nSi hace clic en No, el programa de instalación "
     "se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 7,
     "Se denegó el acceso cuando el programa de instalación intentaba crear este archivo:\n%s\n\n"
     "¿Desea omitir este archivo y continuar?\nSi hace clic en No, el programa de instalación "
     "se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 8,
     "El programa de instalación no pudo crear el archivo\n%s\n"
     "porque no tiene permiso para agregar archivos a la carpeta\n%s\n\n"
     "¿Desea omitir este archivo y continuar?\nSi hace clic en No, el programa de instalación "
     "se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 9,
     "Se denegó el acceso cuando el programa de instalación intentaba crear y abrir este "
     "archivo:\n%s\n\n"
     "¿Desea omitir este archivo y continuar?\nSi hace clic en No, el programa de instalación "
     "se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 10,
     "El programa de instalación no pudo crear este archivo para leerlo:\n%s\n\n%s\n\n"
     "¿Desea omitir este archivo y continuar?\nSi hace clic en No, el programa de instalación "
     "se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 11,
     "El programa de instalación no pudo crear este archivo:\n%s\n\n%s\n\n"
     "¿Desea omitir este archivo y continuar?\nSi hace clic en No, el programa de instalación "
     "se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 12,
     "El programa de instalación no pudo crear y abrir este archivo:\n%s\n\n%s\n\n"
     "¿Desea omitir este archivo y continuar?\nSi hace clic en No, el programa de instalación "
     "se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 13,
     "El siguiente archivo está en uso. El programa de instalación no pudo crear el archivo "
     "temporal\nnecesario para reemplazarlo cuando se reinicie el equipo:\n%s\n\n%s\n\n"
     "¿Desea omitir este archivo y continuar?\nSi hace clic en No, el programa de instalación "
     "se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 14,
     "No hay espacio suficiente en el disco para escribir este archivo:\n%s\n\n"
     "Libere espacio en disco y haga clic en Aceptar para volver a intentarlo.\n"
     "Haga clic en Cancelar para detener la instalación y quitar lo instalado hasta ahora."},
    {kError, 15,
     "El programa de instalación no pudo escribir este archivo:\n%s\n\n%s\n\n"
     "¿Desea omitir este archivo y continuar?\nSi hace clic en No, el programa de instalación "
     "se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 16, "El programa de instalación no pudo leer este archivo:\n%s"},
    {kError, 17, "El programa de instalación no pudo mover este archivo:\n%s"},
    {kError, 18, "El programa de instalación no pudo leer los atributos de este archivo:\n%s"},
    {kError, 19,
     "El programa de instalación no pudo establecer los atributos de este archivo:\n%s"},
    {kError, 20, "El programa de instalación no pudo determinar el tamaño de este archivo:\n%s"},
    {kError, 21,
     "El programa de instalación no pudo crear esta carpeta:\n%s\n\n%s\n\n"
     "¿Desea continuar con la instalación de todos modos?\nSi hace clic en No, el programa de "
     "instalación se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 22, "El programa de instalación no pudo cargar este archivo en memoria:\n%s"},
    {kError, 23,
     "El programa de instalación no pudo leer el contenido de este archivo en memoria:\n%s"},
    {kError, 24,
     "El programa de instalación no pudo crear esta clave del Registro:\n%s\n\n%s\n\n"
     "¿Desea continuar con la instalación de todos modos?\nSi hace clic en No, el programa de "
     "instalación se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 25,
     "El programa de instalación no pudo escribir el valor del Registro \"%s\" en la clave\n"
     "%s\n\n%s\n\n"
     "¿Desea continuar con la instalación de todos modos?\nSi hace clic en No, el programa de "
     "instalación se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 26,
     "No tiene permiso para realizar en el Registro los cambios que necesita el programa de "
     "instalación.\n\n"
     "¿Desea continuar con la instalación de todos modos?\nSi hace clic en No, el programa de "
     "instalación se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 27,
     "El programa de instalación no pudo crear este acceso directo:\n%s\n\n"
     "¿Desea continuar con la instalación de todos modos?\nSi hace clic en No, el programa de "
     "instalación se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 28,
     "\nEste componente no se pudo registrar, por lo que es posible que algunas características "
     "no funcionen.\n\n"
     "¿Desea continuar con la instalación de todos modos?\nSi hace clic en No, el programa de "
     "instalación se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 29,
     "El programa de instalación no pudo reiniciar el equipo.\n\n"
     "Reinícielo usted mismo para completar la instalación."},
    {kError, 30,
     "El programa de instalación no pudo registrar el tipo de archivo %s.\n\n"
     "¿Desea continuar con la instalación de todos modos?\nSi hace clic en No, el programa de "
     "instalación se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 31, "La unidad de la carpeta de destino no existe.\n\nElija otra carpeta."},
    {kError, 32,
     "No tiene permiso para crear archivos en la carpeta de destino.\n\nElija otra carpeta."},
    {kError, 33, "No tiene permiso para crear carpetas en\n%s\n\nElija otra carpeta de destino."},
    {kError, 34,
     "No tiene permiso para usar la unidad de la carpeta de destino.\n\nElija otra carpeta."},
    {kError, 35,
     "El programa de instalación no pudo crear la carpeta\n%s\n"
     "porque no tiene permiso para crear carpetas en\n%s\n\n"
     "¿Desea continuar con la instalación de todos modos?\nSi hace clic en No, el programa de "
     "instalación se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 36,
     "El programa de instalación no pudo crear la carpeta\n%s\n"
     "porque el acceso a la carpeta\n%s\nfue denegado.\n\n"
     "¿Desea continuar con la instalación de todos modos?\nSi hace clic en No, el programa de "
     "instalación se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 37,
     "El programa de instalación no pudo crear la carpeta\n%s\n"
     "porque el acceso a la unidad fue denegado.\n\n"
     "¿Desea continuar con la instalación de todos modos?\nSi hace clic en No, el programa de "
     "instalación se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 38,
     "El programa de instalación no pudo crear la carpeta\n%s\n"
     "porque no tiene permiso para crear carpetas en esta unidad.\n\n"
     "¿Desea continuar con la instalación de todos modos?\nSi hace clic en No, el programa de "
     "instalación se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 39,
     "No hay suficiente espacio libre en la unidad de destino.\n\n"
     "Libere espacio o elija otra carpeta."},
    {kError, 40,
     "El programa de instalación no pudo ejecutar este archivo de programa:\n%s\n\n%s\n\n"
     "¿Desea continuar con la instalación de todos modos?\nSi hace clic en No, el programa de "
     "instalación se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 41,
     "Este archivo de programa terminó con un código de salida que indica un error:\n%s\n\n"
     "Código de salida: %s\n\n"
     "¿Desea continuar con la instalación de todos modos?\nSi hace clic en No, el programa de "
     "instalación se detendrá y quitará lo que haya instalado hasta ahora."},
    {kError, 42,
     "El programa de instalación no pudo llamar a la función %s del archivo\n%s\n\n%s\n\n"
     "¿Desea continuar con la instalación de todos modos?\nSi hace clic en No, el programa de "
     "instalación se detendrá y quitará lo que haya instalado hasta ahora."},

    {kButton, 0, "< &Atrás"},
    {kButton, 1, "&Siguiente >"},
    {kButton, 2, "Cancelar"},
    {kButton, 3, "&Instalar"},
    {kButton, 4, "Sa&lir"},
    {kButton, 5, "&Sí"},
    {kButton, 6, "&No"},
    {kButton, 7, "E&xaminar..."},
    {kButton, 8, "&Finalizar"},
    {kButton, 9, "&Extraer"},
    {kButton, 10, "Aceptar"},
};

}  // namespace

std::span<const BuiltinText> spanishTexts() {
    return kTexts;
}

}  // namespace kelvara::build
