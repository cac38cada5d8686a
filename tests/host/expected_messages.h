// The library's messages as the host tests expect them, byte for byte (the
// tests state them apart from the library's own table, so that a changed
// message shows). Values follow where a message ends in a blank.
#pragma once

#include <initializer_list>
#include <string>

namespace qt::msg {

inline const std::string kBadType = "Tipo de Registro Inv\xE1lido ";
inline const std::string kLayout = "Layout Inv\xE1lido \r\n";
inline const std::string kBadCnpj = "CPF/CNPJ inv\xE1lido";
inline const std::string kBadName = "Raz\xE3o Social inv\xE1lida.\r\n";
// A builder called with no valid taxpayer: both checks fail.
inline const std::string kNoTaxpayer = kBadCnpj + kBadName;
inline const std::string kNoReport =
    "Nenhum relat\xF3rio aberto: chame quorix_InicializarPAF antes de montar as linhas";
inline const std::string kBadSerial = "N\xFAmero de Fabrica\xE7\xE3o ECF Inv\xE1lido ";
inline const std::string kBadPeriod = "Per\xEDodo Inv\xE1lido ";
inline const std::string kBadProductCode =
    "C\xF3"
    "digo Produto Inv\xE1lido ";
inline const std::string kBadDescription = "Descri\xE7\xE3o Produto Inv\xE1lida ";
inline const std::string kBadUnit = "Unidade Medida Inv\xE1lida ";
inline const std::string kBadRounding = "Indicador de Arredondamento ou Truncamento Inv\xE1lido ";
inline const std::string kBadProduction =
    "Indicador de Produ\xE7\xE3o Pr\xF3pria ou Terceiros Inv\xE1lido ";
inline const std::string kInvalidFile = "Arquivo Inv\xE1lido ";
inline const std::string kWriteError = "Erro durante a grava\xE7\xE3o do arquivo ";
inline const std::string kCannotCreateFile = "N\xE3o foi poss\xEDvel criar o arquivo ";
inline const std::string kRecordError =
    "Erro durante o processo de gera\xE7\xE3o do Registro Chave\r\n";
inline const std::string kBadKeys =
    "Chaves P\xFA"
    "blica e/ou Privada Inv\xE1lidas ";
// Failures chained after a cleared message: they begin with CR LF.
inline const std::string kNotANumber =
    "\r\nValor num\xE9rico inv\xE1lido (n\xE3o \xE9 um n\xFAmero finito)";
inline const std::string kDateOutOfRange =
    "\r\nData ou hora inv\xE1lida (fora do intervalo de 01/01/0001 a 31/12/9999)";
inline const std::string kBadTotalizer =
    "C\xF3"
    "digo Totalizador Inv\xE1lido ";
inline const std::string kBadValue = "Valor Inv\xE1lido ";
inline const std::string kDavNumber = "N\xFAmero DAV Inv\xE1lido ";
inline const std::string kDavDate = "Data DAV Inv\xE1lido ";
inline const std::string kStockDate = "Data Estoque Inv\xE1lido ";
inline const std::string kSituation = "Situa\xE7\xE3o Tribut\xE1ria Inv\xE1lida ";
inline const std::string kBadSymbol = "Tipo de Docto de ECF Inv\xE1lido \r\nS\xEDmbolo Docto : ";
inline const std::string kNegativeCoo =
    "\r\nValor negativo em campo sem sinal: COO (posi\xE7\xF5"
    "es 85-90) = ";

// Messages that list values: each '#' stands for one (see Listed).
inline const std::string kPaymentValues = "Valor Inv\xE1lido \r\nMeio Pagto    : ";
inline const std::string kBadQuantity = "Quantidade Inv\xE1lida \r\nQtde : ";
inline const std::string kCouponValues = "Valor Inv\xE1lido \r\nDesconto : ";
inline const std::string kCouponValuesShown =
    kCouponValues + "#\r\nAcr\xE9scimo: #\r\nSubtotal : #\r\nTotal    : #";
inline const std::string kItemValues = "Valor Inv\xE1lido \r\nVlr. Unit. : ";
inline const std::string kItemValuesShown =
    kItemValues + "#\r\nDesconto   : #\r\nAcr\xE9scimo  : #\r\nTotal      : #";
inline const std::string kDailyAmountsShown = kBadValue +
                                              "\r\nValor Cont\xE1"
                                              "bil : #"
                                              "\r\nBase C\xE1lculo   : #"
                                              "\r\nAl\xEDquota       : #"
                                              "\r\nValor Imposto  : #"
                                              "\r\nValor Isento   : #"
                                              "\r\nValor Outros   : #";

// `pattern` with its '#' replaced by `values`, in order.
inline std::string Listed(const std::string& pattern, std::initializer_list<std::string> values) {
  std::string out;
  auto next = values.begin();
  for (const char c : pattern) {
    if (c == '#' && next != values.end())
      out += *next++;
    else
      out += c;
  }
  return out;
}

}  // namespace qt::msg
