// Message texts of the library, as Windows-1252 bytes. Hosts show them to
// their users and some compare them, so every byte (trailing blanks
// included) is part of the interface.
#pragma once

#include <string_view>

namespace quorix::msg {

// Taxpayer identification
inline constexpr std::string_view kInvalidCnpjCpf = "CPF/CNPJ inv\xE1lido";
inline constexpr std::string_view kInvalidCompanyName = "Raz\xE3o Social inv\xE1lida.\r\n";
inline constexpr std::string_view kExempt = "ISENTO";
inline constexpr std::string_view kCpfMask = "000.000.000-00";
inline constexpr std::string_view kCnpjMask = "00.000.000/0000-00";

// Report frame
inline constexpr std::string_view kInvalidRecordType = "Tipo de Registro Inv\xE1lido ";
inline constexpr std::string_view kInvalidLayout = "Layout Inv\xE1lido \r\n";
inline constexpr std::string_view kNoOpenReport =
    "Nenhum relat\xF3rio aberto: chame quorix_InicializarPAF antes de montar as linhas";

// DAV issued, goods in stock and goods and services lines
inline constexpr std::string_view kInvalidDavNumber = "N\xFAmero DAV Inv\xE1lido ";
inline constexpr std::string_view kInvalidDavDate = "Data DAV Inv\xE1lido ";
inline constexpr std::string_view kInvalidProductCode =
    "C\xF3"
    "digo Produto Inv\xE1lido ";
inline constexpr std::string_view kInvalidProductDescription =
    "Descri\xE7\xE3o Produto Inv\xE1lida ";
inline constexpr std::string_view kInvalidUnitOfMeasure = "Unidade Medida Inv\xE1lida ";
inline constexpr std::string_view kInvalidStockDate = "Data Estoque Inv\xE1lido ";
inline constexpr std::string_view kInvalidRoundingIndicator =
    "Indicador de Arredondamento ou Truncamento Inv\xE1lido ";
inline constexpr std::string_view kInvalidProductionIndicator =
    "Indicador de Produ\xE7\xE3o Pr\xF3pria ou Terceiros Inv\xE1lido ";
inline constexpr std::string_view kInvalidTaxSituation =
    "Situa\xE7\xE3o Tribut\xE1ria Inv\xE1lida ";

// Finishing a report
inline constexpr std::string_view kInvalidKeys =
    "Chaves P\xFA"
    "blica e/ou Privada Inv\xE1lidas ";
inline constexpr std::string_view kFileWriteError = "Erro durante a grava\xE7\xE3o do arquivo ";
inline constexpr std::string_view kReportNotWritten = "O relat\xF3rio n\xE3o foi gravado em ";

// Signing library
inline constexpr std::string_view kCommandNotExecuted = "Comando n\xE3o executado ";
inline constexpr std::string_view kSignatureRecordError =
    "Erro durante o processo de gera\xE7\xE3o do Registro Chave";
inline constexpr std::string_view kCommandExecutionError = "Erro de execu\xE7\xE3o do comando";
inline constexpr std::string_view kInvalidFile = "Arquivo Inv\xE1lido ";
inline constexpr std::string_view kSignerMissing =
    "Biblioteca de assinatura sign_bema n\xE3o encontrada";
inline constexpr std::string_view kSignerNotLoaded =
    "N\xE3o foi poss\xEDvel carregar a biblioteca de assinatura ";
inline constexpr std::string_view kSignerFunctionMissing =
    "Fun\xE7\xE3o ausente na biblioteca de assinatura sign_bema: ";

// Values that cannot be rendered into a line
// A negative value in a field that holds no sign: its name, its positions in
// the line, then the value as the user reads it.
inline constexpr std::string_view kNegativeInUnsignedField = "Valor negativo em campo sem sinal: ";
inline constexpr std::string_view kFieldPosition = " (posi\xE7\xE3o ";
inline constexpr std::string_view kFieldPositions =
    " (posi\xE7\xF5"
    "es ";
inline constexpr std::string_view kFieldValue = ") = ";
inline constexpr std::string_view kNotANumber =
    "Valor num\xE9rico inv\xE1lido (n\xE3o \xE9 um n\xFAmero finito)";
inline constexpr std::string_view kDateOutOfRange =
    "Data ou hora inv\xE1lida (fora do intervalo de 01/01/0001 a 31/12/9999)";

// Reductions Z, daily movement and totals
inline constexpr std::string_view kInvalidSerialNumber =
    "N\xFAmero de Fabrica\xE7\xE3o ECF Inv\xE1lido ";
inline constexpr std::string_view kInvalidTotalizerCode =
    "C\xF3"
    "digo Totalizador Inv\xE1lido ";
inline constexpr std::string_view kInvalidValue = "Valor Inv\xE1lido ";
inline constexpr std::string_view kInvalidPeriod = "Per\xEDodo Inv\xE1lido ";
// The daily movement's amounts, listed whole whichever one was refused.
inline constexpr std::string_view kMovementAccountingValue =
    "Valor Inv\xE1lido \r\nValor Cont\xE1"
    "bil : ";
inline constexpr std::string_view kMovementTaxBase = "\r\nBase C\xE1lculo   : ";
inline constexpr std::string_view kMovementTaxRate = "\r\nAl\xEDquota       : ";
inline constexpr std::string_view kMovementTaxAmount = "\r\nValor Imposto  : ";
inline constexpr std::string_view kMovementExemptAmount = "\r\nValor Isento   : ";
inline constexpr std::string_view kMovementOtherAmount = "\r\nValor Outros   : ";
// ECF documents: fiscal coupons, their items, other documents, payments
inline constexpr std::string_view kCouponValues = "Valor Inv\xE1lido \r\nDesconto : ";
inline constexpr std::string_view kCouponIncrease = "\r\nAcr\xE9scimo: ";
inline constexpr std::string_view kCouponSubtotal = "\r\nSubtotal : ";
inline constexpr std::string_view kCouponTotal = "\r\nTotal    : ";
inline constexpr std::string_view kInvalidQuantity = "Quantidade Inv\xE1lida \r\nQtde : ";
inline constexpr std::string_view kItemValues = "Valor Inv\xE1lido \r\nVlr. Unit. : ";
inline constexpr std::string_view kItemDiscount = "\r\nDesconto   : ";
inline constexpr std::string_view kItemIncrease = "\r\nAcr\xE9scimo  : ";
inline constexpr std::string_view kItemTotal = "\r\nTotal      : ";
inline constexpr std::string_view kInvalidDocumentSymbol =
    "Tipo de Docto de ECF Inv\xE1lido \r\nS\xEDmbolo Docto : ";
inline constexpr std::string_view kPaymentValues = "Valor Inv\xE1lido \r\nMeio Pagto    : ";
inline constexpr std::string_view kPaymentAmount = "\r\nValor Pagto   : ";
inline constexpr std::string_view kPaymentReversed = "\r\nValor Estorno : ";

// Failures that only the platform can cause
inline constexpr std::string_view kOutOfMemory = "Mem\xF3ria insuficiente";
inline constexpr std::string_view kUnexpectedFailure = "Falha inesperada";
inline constexpr std::string_view kCannotCreateFile = "N\xE3o foi poss\xEDvel criar o arquivo ";
inline constexpr std::string_view kCannotWriteFile = "N\xE3o foi poss\xEDvel gravar o arquivo ";
inline constexpr std::string_view kCannotDeleteFile = "N\xE3o foi poss\xEDvel apagar o arquivo ";
inline constexpr std::string_view kCannotReplaceFile =
    "N\xE3o foi poss\xEDvel substituir o arquivo ";
// Why a file operation failed, shown in parentheses after the file name.
inline constexpr std::string_view kReasonDiskFull = "disco cheio";
inline constexpr std::string_view kReasonIoError =
    "erro de leitura ou grava\xE7\xE3o no dispositivo";
inline constexpr std::string_view kReasonAccessDenied = "acesso negado";
inline constexpr std::string_view kReasonReadOnly =
    "m\xED"
    "dia somente leitura";
inline constexpr std::string_view kReasonNotFound = "pasta ou arquivo inexistente";
inline constexpr std::string_view kReasonIsFolder = "\xE9 uma pasta";
inline constexpr std::string_view kReasonInUse = "arquivo em uso por outro programa";
inline constexpr std::string_view kReasonNameTooLong = "nome de arquivo longo demais";
inline constexpr std::string_view kReasonInvalidName = "nome de arquivo inv\xE1lido";
inline constexpr std::string_view kReasonTooManyFiles = "arquivos abertos demais";
inline constexpr std::string_view kReasonOutOfMemory = "mem\xF3ria insuficiente";
inline constexpr std::string_view kReasonLinkLoop = "links demais no caminho";
inline constexpr std::string_view kReasonNotReady = "dispositivo n\xE3o est\xE1 pronto";
inline constexpr std::string_view kReasonNetwork = "caminho de rede inacess\xEDvel";
// A writer that waited its whole turn for another program to finish.
inline constexpr std::string_view kReasonLockTimeout =
    "outro programa ainda grava o arquivo depois de ";
inline constexpr std::string_view kReasonLockTimeoutUnit = " segundos";
// A system error of no kind above, with the system's own code.
inline constexpr std::string_view kReasonOther = "erro do sistema ";
// Texts that reach the system as C strings.
inline constexpr std::string_view kNulCharacter =
    "Caractere nulo (c\xF3"
    "digo 0) na posi\xE7\xE3o ";
inline constexpr std::string_view kOfFileName = "do nome do arquivo";
inline constexpr std::string_view kEmptyFileName = "Nome de arquivo vazio";
// A byte that Windows-1252 leaves undefined names no character, so no file.
inline constexpr std::string_view kUndefinedCharacter =
    "Caractere indefinido no Windows-1252 (c\xF3"
    "digo ";
inline constexpr std::string_view kUndefinedCharacterAt = ") na posi\xE7\xE3o ";
inline constexpr std::string_view kOfPublicKey =
    "da chave p\xFA"
    "blica";
inline constexpr std::string_view kOfPrivateKey = "da chave privada";

// Side files: the scrambled INI store, software-house data, grand totals,
// the Anexo VI block and the developer's public-key file
inline constexpr std::string_view kUnableToWrite = "Unable to write to ";
inline constexpr std::string_view kNotAFloatBefore = "'";
inline constexpr std::string_view kNotAFloatAfter = "' is not a valid floating point value";
inline constexpr std::string_view kUnstorableText = "Texto que o arquivo n\xE3o guarda intacto: ";
inline constexpr std::string_view kUnstorableSection = "se\xE7\xE3o ";
inline constexpr std::string_view kUnstorableKey = "chave ";
inline constexpr std::string_view kUnstorableValue = "valor da chave ";
inline constexpr std::string_view kUnstorablePosition = ", posi\xE7\xE3o ";
inline constexpr std::string_view kUnstorableCode =
    ", caractere de c\xF3"
    "digo ";
inline constexpr std::string_view kInvalidHostList =
    "Lista inv\xE1lida: ponteiro nulo com \xFAltimo \xEDndice ";
inline constexpr std::string_view kHostListIncomplete =
    "Lista do host sem as fun\xE7\xF5"
    "es clear e append";
inline constexpr std::string_view kHostListClearFailed = "A lista do host n\xE3o foi esvaziada";
inline constexpr std::string_view kHostListAppendFailed = "A lista do host recusou o texto ";
inline constexpr std::string_view kValueTooLong = "Valor longo demais para o arquivo na chave ";
inline constexpr std::string_view kValueTooLongSize = ": ";
inline constexpr std::string_view kValueTooLongLimit = " bytes (o limite \xE9 2047)";
inline constexpr std::string_view kEmptyListEntry = "Entrada vazia na lista ";
inline constexpr std::string_view kEmptyListEntryIndex = ", \xEDndice ";
inline constexpr std::string_view kPeriodAnd = " e/ou ";
inline constexpr std::string_view kInvalidDeveloperName =
    "Nome do desenvolvedor inv\xE1lido como nome de arquivo: ";
inline constexpr std::string_view kInvalidFolder = "Pasta inv\xE1lida: ";
inline constexpr std::string_view kXmlControlCharacter =
    "Caractere de controle, que o XML n\xE3o admite, no elemento ";

}  // namespace quorix::msg
