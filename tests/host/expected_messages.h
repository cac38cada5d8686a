// The library's messages as the host tests expect them, byte for byte (the
// tests state them apart from the library's own table, so that a changed
// message shows). Values follow where a message ends in a blank.
#pragma once

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
// Failures chained after a cleared message: they begin with CR LF.
inline const std::string kNotANumber =
    "\r\nValor num\xE9rico inv\xE1lido (n\xE3o \xE9 um n\xFAmero finito)";
inline const std::string kDateOutOfRange =
    "\r\nData ou hora inv\xE1lida (fora do intervalo de 01/01/0001 a 31/12/9999)";

}  // namespace qt::msg
