// Portuguese (Brazil) texts of the installer and the uninstaller.
#include "kelvara-build/languages/builtin_languages.h"

namespace kelvara::build {
namespace {

constexpr int kSetup = kTableSetupMessages;
constexpr int kError = kTableErrorMessages;
constexpr int kButton = kTableButtonLabels;
constexpr int kUn = kTableUninstaller;

constexpr BuiltinText kTexts[] = {
    {kPageLanguage, 0, "Instalação de %ProductName%"},
    {kPageLanguage, 1, "Selecionar o idioma da instalação"},
    {kPageLanguage, 2, "Escolha o idioma a ser usado durante a instalação."},
    {kPageLanguage, 3, "&Idioma:"},

    {kPageWelcome, 0, "Instalação de %ProductName%"},
    {kPageWelcome, 1, "Bem-vindo à instalação de %ProductName%"},
    {kPageWelcome, 2, "Este assistente instalará %ProductName% no seu computador."},
    {kPageWelcome, 3, "Ele guiará você por algumas etapas rápidas."},
    {kPageWelcome, 4, "Recomendamos que você feche todos os outros programas antes de continuar."},
    {kPageWelcome, 6, "Clique em Avançar para continuar ou em Cancelar para sair do instalador."},
    {kPageWelcome, 7, "Bem-vindo à instalação"},

    {kPageLicense, 0, "Instalação de %ProductName%"},
    {kPageLicense, 1, "Contrato de licença"},
    {kPageLicense, 2, "Leia o &contrato de licença a seguir."},
    {kPageLicense, 3, "Você aceita os termos deste contrato de licença?"},

    {kPageReadme, 0, "Instalação de %ProductName%"},
    {kPageReadme, 1, "Informações importantes"},
    {kPageReadme, 2, "Leia as &informações importantes a seguir."},

    {kPageComponents, 0, "Instalação de %ProductName%"},
    {kPageComponents, 1, "Escolher componentes"},
    {kPageComponents, 2, "Escolha quais partes de %ProductName% serão instaladas."},
    {kPageComponents, 3, "&Tipo de instalação:"},
    {kPageComponents, 4, "&Componentes:"},
    {kPageComponents, 5, "Espaço necessário:"},
    {kPageComponents, 6, "Espaço disponível na unidade %DISK%:"},
    {kPageComponents, 9, "Selecione um componente para ver a descrição dele."},
    {kPageComponents, 14, "Descrição"},

    {kPageScope, 0, "Instalação de %ProductName%"},
    {kPageScope, 1, "Escolher usuários"},
    {kPageScope, 2, "Escolha para quem %ProductName% será instalado."},
    {kPageScope, 3, "Instalar para &todos os usuários deste computador"},
    {kPageScope, 4,
     "Qualquer pessoa que use este computador poderá usar o programa. Para isso, o instalador "
     "precisa de direitos de administrador."},
    {kPageScope, 5, "Instalar somente para &mim"},
    {kPageScope, 6,
     "Somente você poderá usar o programa. Ele será instalado nas suas próprias pastas, e o "
     "instalador não precisa de direitos de administrador."},

    {kPageDestination, 0, "Instalação de %ProductName%"},
    {kPageDestination, 1, "Escolher o local de instalação"},
    {kPageDestination, 2,
     "%ProductName% será instalado na pasta a seguir. Para usar outra pasta, digite o caminho "
     "dela ou clique em Procurar."},
    {kPageDestination, 3, "Pasta de &destino"},
    {kPageDestination, 4, "Selecione a pasta em que o programa será instalado:"},
    {kPageDestination, 5, "Espaço necessário:"},
    {kPageDestination, 6, "Espaço disponível na unidade %DISK%:"},

    {kPageTasks, 0, "Instalação de %ProductName%"},
    {kPageTasks, 1, "Tarefas adicionais"},
    {kPageTasks, 2, "Escolha o que mais o instalador deve fazer e clique em Avançar."},
    {kPageTasks, 3, "&Tarefas adicionais:"},
    {kPageTasks, 9, "Selecione uma tarefa para ver a descrição dela."},

    {kPageStartMenu, 0, "Instalação de %ProductName%"},
    {kPageStartMenu, 1, "Escolher a pasta do menu Iniciar"},
    {kPageStartMenu, 2,
     "O instalador criará ata&lhos na pasta do menu Iniciar abaixo. Digite um novo nome ou "
     "escolha uma pasta existente."},
    {kPageStartMenu, 3, "Criar uma pasta no menu &Iniciar"},
    {kPageStartMenu, 4, "Criar atalhos na área de &trabalho"},
    {kPageStartMenu, 5, "Criar atalhos na barra Inicialização &Rápida"},

    {kPageReady, 0, "Instalação de %ProductName%"},
    {kPageReady, 1, "Pronto para instalar"},
    {kPageReady, 2, "O instalador está pronto para instalar %ProductName% no seu computador."},
    {kPageReady, 3,
     "Clique em Instalar para começar ou em Voltar para revisar ou alterar as configurações."},

    {kPageInstalling, 0, "Instalação de %ProductName%"},
    {kPageInstalling, 1, "Instalando %ProductName%"},
    {kPageInstalling, 2, "Aguarde enquanto %ProductName% é instalado no seu computador."},
    {kPageInstalling, 3, "Para interromper a instalação, clique em Cancelar."},
    {kPageInstalling, 4, "Copiando arquivos..."},
    {kPageInstalling, 5, "Criando atalhos..."},
    {kPageInstalling, 6, "Atualizando o Registro..."},
    {kPageInstalling, 7, "Atualizando arquivos de configuração..."},
    {kPageInstalling, 8, "Registrando tipos de arquivo..."},
    {kPageInstalling, 13, "Concluindo a instalação..."},

    {kPageFinish, 0, "Instalação de %ProductName%"},
    {kPageFinish, 1, "Instalação concluída"},
    {kPageFinish, 2, "O instalador concluiu a instalação de %ProductName%."},
    {kPageFinish, 3,
     "Agora você pode usar %ProductName%. Clique em Concluir para fechar o instalador."},
    {kPageFinish, 4, "&Abrir a documentação"},
    {kPageFinish, 5, "&Executar %ProductName% agora"},
    {kPageFinish, 6, "&Reiniciar o computador agora"},
    {kPageFinish, 7,
     "Algumas partes não puderam ser instaladas. As mensagens exibidas durante a instalação "
     "descrevem os problemas."},
    {kPageFinish, 8,
     "O Windows precisa ser reiniciado para concluir a instalação. Reinicie agora ou desmarque a "
     "caixa abaixo para reiniciar mais tarde."},
    {kPageFinish, 9,
     "Alguns arquivos estavam em uso. O instalador os substituirá quando o computador for "
     "reiniciado."},
    {kPageFinish, 10, "O computador precisa ser reiniciado para concluir a instalação."},

    {kUn, 0, "Desinstalação de %s"},
    {kUn, 1, "Remoção do programa"},
    {kUn, 2, "Aguarde enquanto %s é removido do seu computador."},
    {kUn, 3, "Tem certeza de que deseja remover %s completamente?"},
    {kUn, 4, "Desinstalação concluída"},
    {kUn, 5, "%s foi removido do seu computador com êxito."},
    {kUn, 6,
     "%s foi removido do seu computador, mas algumas de suas entradas não puderam ser removidas."},
    {kUn, 7,
     "A desinstalação não foi concluída.\nSe você sair agora, o programa não será desinstalado "
     "corretamente.\n\nTem certeza de que deseja sair?"},
    {kUn, 8, "Concluir"},
    {kUn, 10, "Cancelar"},
    {kUn, 11,
     "Algumas pastas contêm arquivos que não foram criados por esta instalação e não podem ser "
     "excluídos automaticamente. Marque a caixa de seleção ao lado de cada arquivo ou pasta que "
     "deseja excluir e clique no botão 'Excluir'."},
    {kUn, 12, "Selecionar &tudo"},
    {kUn, 13, "&Excluir"},
    {kUn, 14, "Tem certeza de que deseja excluir todos os arquivos e pastas selecionados?"},
    {kUn, 15, "Confirmar operação"},
    {kUn, 16, "Excluindo arquivos..."},
    {kUn, 17, "Excluindo atalhos do menu Iniciar..."},
    {kUn, 18, "Excluindo entradas do Registro..."},
    {kUn, 19, "Executando programas..."},
    {kUn, 20, "Excluindo chaves do Registro..."},
    {kUn, 21, "Chamando funções de DLL..."},
    {kUn, 22, "Excluindo arquivos compartilhados..."},
    {kUn, 23, "Exclusão de valor do Registro"},
    {kUn, 24, "Erro ao excluir o valor do Registro '%s' na chave '%s'.\n%s"},
    {kUn, 25, "Exclusão de chave do Registro"},
    {kUn, 26, "Erro ao excluir a chave do Registro '%s'.\n%s"},
    {kUn, 27, "Etapa da desinstalação"},
    {kUn, 28, "Esta etapa da desinstalação falhou:\n%s\n\nA desinstalação prosseguirá."},
    {kUn, 29, "Exclusão de arquivo"},
    {kUn, 30,
     "O arquivo %s\nestá sendo usado por outro programa.\nDeseja tentar excluir o arquivo "
     "novamente, em vez de reiniciar o computador ao final da desinstalação?"},
    {kUn, 31, "Arquivo compartilhado detectado"},
    {kUn, 32,
     "O sistema indica que o seguinte arquivo compartilhado não é mais usado por nenhum "
     "programa. Se algum programa ainda usar esse arquivo e ele for removido, esse programa "
     "poderá deixar de funcionar. Tem certeza de que deseja remover o arquivo compartilhado?\n\n"
     "Nome do arquivo: "},
    {kUn, 33, "\nLocal: "},
    {kUn, 34,
     "\n\nManter este arquivo não prejudicará o sistema. Se você não tiver certeza do que fazer, "
     "recomendamos não remover este componente compartilhado."},
    {kUn, 35,
     "Você optou por remover todos os componentes compartilhados que, segundo o sistema, não são "
     "mais usados. Isso pode fazer com que alguns programas deixem de funcionar, caso ainda "
     "precisem de algum desses arquivos. Tem certeza de que deseja continuar?"},
    {kUn, 36,
     "Estes programas usam arquivos que precisam ser removidos:\n\n"
     "%s\n\nDeseja fechá-los agora?\nSe você clicar em Não, eles continuarão em execução, e os "
     "arquivos deles serão removidos quando o computador for reiniciado."},
    {kUn, 37, "&Sim"},
    {kUn, 38, "Sim para &todos"},
    {kUn, 39, "&Não"},
    {kUn, 40,
     "O computador precisa ser reiniciado para concluir a desinstalação.\nAlguns arquivos estão "
     "em uso e só podem ser excluídos durante a reinicialização do sistema.\n\n"
     "Deseja reiniciar o sistema agora?"},
    {kUn, 41,
     "Não foi possível reiniciar o computador.\n\nReinicie-o manualmente para concluir a "
     "desinstalação."},

    {kPageFilesInUse, 0, "Instalação de %ProductName%"},
    {kPageFilesInUse, 1, "Programas em uso"},
    {kPageFilesInUse, 2,
     "Programas em execução usam arquivos que o instalador precisa substituir."},
    {kPageFilesInUse, 3,
     "O instalador pode fechar esses programas agora e iniciá-los novamente quando a instalação "
     "terminar:"},
    {kPageFilesInUse, 4, "&Fechá-los automaticamente e iniciá-los novamente"},
    {kPageFilesInUse, 5, "&Não fechá-los (será necessário reiniciar o computador)"},

    {kSetup, 0,
     "A instalação não foi concluída. Se você sair agora, o programa não será instalado.\n\n"
     "Deseja sair do instalador?"},
    {kSetup, 1,
     "O computador precisa ser reiniciado para concluir a configuração.\n\n"
     "Deseja reiniciar agora?"},
    {kSetup, 2,
     "A pasta de instalação não é válida.\n\nDigite o caminho completo de uma pasta, incluindo a "
     "unidade."},
    {kSetup, 3,
     "A pasta de destino não é válida.\n\nDigite o caminho completo de uma pasta, incluindo a "
     "unidade."},
    {kSetup, 4, "Deseja interromper a extração dos arquivos?"},
    {kSetup, 5,
     "Alguns arquivos que o instalador precisava substituir estavam em uso. Eles serão "
     "substituídos quando o computador for reiniciado.\n\n"
     "Deseja reiniciar agora?"},
    {kSetup, 6,
     "O seguinte arquivo está sendo usado por outro programa:\n%s\n\n"
     "Deseja tentar novamente? Feche esse programa primeiro e clique em Sim.\n"
     "Se você clicar em Não, o arquivo será substituído quando o computador for reiniciado."},
    {kSetup, 7,
     "O seguinte arquivo está sendo usado por outro programa e não pode ser substituído:\n"
     "%s"},
    {kSetup, 8,
     "O instalador ainda está instalando o programa.\nSe você sair antes do término, tudo o que "
     "foi instalado até agora será removido.\n\nDeseja sair do instalador?"},
    {kSetup, 9,
     "A instalação terminou, mas algumas partes do programa não puderam ser instaladas.\n"
     "As mensagens exibidas durante a instalação descrevem os problemas."},
    {kSetup, 10, "Reinicie o computador antes de usar %s."},
    {kSetup, 11,
     "Você precisa de direitos de administrador para instalar este programa.\n\n"
     "Faça logon como administrador e execute o instalador novamente."},
    {kSetup, 12,
     "Este programa requer o Windows NT, Windows 2000, Windows XP ou uma versão posterior do "
     "Windows."},
    {kSetup, 13,
     "Este programa requer %s ou uma versão posterior.\n\n"
     "O instalador não pode continuar."},
    {kSetup, 14, "Este programa requer uma versão de 64 bits do Windows."},
    {kSetup, 15, "Este programa requer uma versão ARM64 do Windows."},
    {kSetup, 16,
     "Estes programas usam arquivos que o instalador precisa substituir:\n\n"
     "%s\n\nDeseja que o instalador os feche e os inicie novamente depois?\nSe você clicar em "
     "Não, eles continuarão em execução, e o computador precisará ser reiniciado para concluir a "
     "instalação."},
    {kSetup, 17,
     "Uma versão mais recente de %s já está instalada neste computador (versão %s).\n\n"
     "O instalador não pode instalar a versão mais antiga %s sobre ela. Para usar esta versão, "
     "desinstale primeiro a mais recente."},

    {kError, 0,
     "O instalador não pôde criar a janela necessária para a instalação.\n\n"
     "O instalador será fechado agora."},
    {kError, 1,
     "O acesso foi negado quando o instalador tentou ler este arquivo:\n%s\n\n"
     "Deseja ignorar este arquivo e continuar?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 2,
     "Você não tem permissão para alterar este arquivo:\n%s\n\n"
     "Deseja ignorar este arquivo e continuar?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 3,
     "O acesso foi negado quando o instalador tentou abrir este arquivo:\n%s\n\n"
     "Deseja ignorar este arquivo e continuar?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 4,
     "O instalador não pôde abrir este arquivo para leitura:\n%s\n\n"
     "%s\n\nDeseja ignorar este arquivo e continuar?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 5,
     "O instalador não pôde abrir este arquivo para substituí-lo:\n%s\n\n"
     "%s\n\nDeseja ignorar este arquivo e continuar?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 6,
     "O instalador não pôde abrir este arquivo:\n%s\n\n"
     "%s\n\nDeseja ignorar este arquivo e continuar?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 7,
     "O acesso foi negado quando o instalador tentou criar este arquivo:\n%s\n\n"
     "Deseja ignorar este arquivo e continuar?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 8,
     "O instalador não pôde criar o arquivo\n%s\nporque você não tem permissão para adicionar "
     "arquivos à pasta\n%s\n\nDeseja ignorar este arquivo e continuar?\nSe você clicar em Não, o "
     "instalador será interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 9,
     "O acesso foi negado quando o instalador tentou criar e abrir este arquivo:\n"
     "%s\n\nDeseja ignorar este arquivo e continuar?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 10,
     "O instalador não pôde criar este arquivo para leitura:\n%s\n\n"
     "%s\n\nDeseja ignorar este arquivo e continuar?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 11,
     "O instalador não pôde criar este arquivo:\n%s\n\n"
     "%s\n\nDeseja ignorar este arquivo e continuar?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 12,
     "O instalador não pôde criar e abrir este arquivo:\n%s\n\n"
     "%s\n\nDeseja ignorar este arquivo e continuar?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 13,
     "O seguinte arquivo está em uso. O instalador não pôde criar o arquivo temporário\n"
     "necessário para substituí-lo quando o computador for reiniciado:\n%s\n\n"
     "%s\n\nDeseja ignorar este arquivo e continuar?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 14,
     "Não há espaço suficiente no disco para gravar este arquivo:\n%s\n\n"
     "Libere espaço em disco e clique em OK para tentar novamente.\nClique em Cancelar para "
     "interromper o instalador e remover tudo o que foi instalado até agora."},
    {kError, 15,
     "O instalador não pôde gravar este arquivo:\n%s\n\n"
     "%s\n\nDeseja ignorar este arquivo e continuar?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 16, "O instalador não pôde ler este arquivo:\n%s"},
    {kError, 17, "O instalador não pôde mover este arquivo:\n%s"},
    {kError, 18, "O instalador não pôde ler os atributos deste arquivo:\n%s"},
    {kError, 19, "O instalador não pôde definir os atributos deste arquivo:\n%s"},
    {kError, 20, "O instalador não pôde determinar o tamanho deste arquivo:\n%s"},
    {kError, 21,
     "O instalador não pôde criar esta pasta:\n%s\n\n"
     "%s\n\nDeseja continuar a instalação mesmo assim?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 22, "O instalador não pôde carregar este arquivo na memória:\n%s"},
    {kError, 23, "O instalador não pôde ler o conteúdo deste arquivo para a memória:\n%s"},
    {kError, 24,
     "O instalador não pôde criar esta chave do Registro:\n%s\n\n"
     "%s\n\nDeseja continuar a instalação mesmo assim?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 25,
     "O instalador não pôde gravar o valor do Registro \"%s\" na chave\n%s\n\n"
     "%s\n\nDeseja continuar a instalação mesmo assim?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 26,
     "Você não tem permissão para fazer no Registro as alterações de que o instalador "
     "precisa.\n\nDeseja continuar a instalação mesmo assim?\nSe você clicar em Não, o "
     "instalador será interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 27,
     "O instalador não pôde criar este atalho:\n%s\n\n"
     "Deseja continuar a instalação mesmo assim?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 28,
     "\nEste componente não pôde ser registrado, por isso alguns recursos podem não "
     "funcionar.\n\nDeseja continuar a instalação mesmo assim?\nSe você clicar em Não, o "
     "instalador será interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 29,
     "O instalador não pôde reiniciar o computador.\n\n"
     "Reinicie-o manualmente para concluir a instalação."},
    {kError, 30,
     "O instalador não pôde registrar o tipo de arquivo %s.\n\n"
     "Deseja continuar a instalação mesmo assim?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 31, "A unidade da pasta de destino não existe.\n\nEscolha outra pasta."},
    {kError, 32,
     "Você não tem permissão para criar arquivos na pasta de destino.\n\n"
     "Escolha outra pasta."},
    {kError, 33,
     "Você não tem permissão para criar pastas em\n%s\n\n"
     "Escolha outra pasta de destino."},
    {kError, 34,
     "Você não tem permissão para usar a unidade da pasta de destino.\n\n"
     "Escolha outra pasta."},
    {kError, 35,
     "O instalador não pôde criar a pasta\n%s\nporque você não tem permissão para criar pastas "
     "em\n%s\n\nDeseja continuar a instalação mesmo assim?\nSe você clicar em Não, o instalador "
     "será interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 36,
     "O instalador não pôde criar a pasta\n%s\nporque o acesso à pasta\n%s\nfoi negado.\n\n"
     "Deseja continuar a instalação mesmo assim?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 37,
     "O instalador não pôde criar a pasta\n%s\nporque o acesso à unidade foi negado.\n\n"
     "Deseja continuar a instalação mesmo assim?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 38,
     "O instalador não pôde criar a pasta\n%s\nporque você não tem permissão para criar pastas "
     "nesta unidade.\n\nDeseja continuar a instalação mesmo assim?\nSe você clicar em Não, o "
     "instalador será interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 39,
     "Não há espaço livre suficiente na unidade de destino.\n\n"
     "Libere espaço ou escolha outra pasta."},
    {kError, 40,
     "O instalador não pôde executar este arquivo de programa:\n%s\n\n"
     "%s\n\nDeseja continuar a instalação mesmo assim?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},
    {kError, 41,
     "Este arquivo de programa terminou com um código de saída que indica falha:\n"
     "%s\n\nCódigo de saída: %s\n\nDeseja continuar a instalação mesmo assim?\n"
     "Se você clicar em Não, o instalador será interrompido e removerá tudo o que foi instalado "
     "até agora."},
    {kError, 42,
     "O instalador não pôde chamar a função %s no arquivo\n%s\n\n"
     "%s\n\nDeseja continuar a instalação mesmo assim?\nSe você clicar em Não, o instalador será "
     "interrompido e removerá tudo o que foi instalado até agora."},

    {kButton, 0, "< &Voltar"},
    {kButton, 1, "&Avançar >"},
    {kButton, 2, "Cancelar"},
    {kButton, 3, "&Instalar"},
    {kButton, 4, "&Sair"},
    {kButton, 5, "&Sim"},
    {kButton, 6, "&Não"},
    {kButton, 7, "P&rocurar..."},
    {kButton, 8, "&Concluir"},
    {kButton, 9, "&Extrair"},
    {kButton, 10, "OK"},
};

}  // namespace

std::span<const BuiltinText> portugueseBrazilTexts() {
    return kTexts;
}

}  // namespace kelvara::build
