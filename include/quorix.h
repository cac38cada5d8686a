/*
 * quorix: PAF-ECF report files, signed; software-house and grand-total side files.
 *
 * Calling convention (every build): every export is stdcall on 32-bit Windows
 * and the one x86-64 convention on 64-bit Windows and on x86-64 Linux. Texts are Windows-1252 bytes
 * in the length-prefixed, reference-counted form below; the library reads the length from the
 * prefix, never searches for the NUL, and never changes a text it is given. A null pointer is the
 * empty text.
 *
 *     [int32 reference count][int32 length][length bytes][NUL]
 *                                           ^ the pointer the host passes
 *
 * A reference count of -1 marks a constant that is never counted or freed.
 * Out-parameters (char **) hold such a text: the library releases what the
 * variable held (count minus one, freed with free() at zero) and stores a new
 * text with count 1, allocated with malloc(). Host and library must therefore
 * share one C heap: on Windows the shared msvcrt.dll heap, on Linux the
 * process's malloc. Release texts you receive with quorix_text_release().
 *
 * Character and boolean arguments take a 4-byte slot of which only the lowest
 * byte is read. Boolean results are one byte: 1 success, 0 failure; after a
 * failure quorix_GetMessageError gives the reason.
 */
#ifndef QUORIX_H
#define QUORIX_H

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#if defined(_WIN32)
#define QUORIX_CALL __stdcall
#if defined(QUORIX_BUILDING)
#define QUORIX_API
#else
#define QUORIX_API __declspec(dllimport)
#endif
#else
#define QUORIX_CALL
#if defined(QUORIX_BUILDING)
#define QUORIX_API __attribute__((visibility("default")))
#else
#define QUORIX_API
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef const char *quorix_text; /* a text argument */
typedef uint32_t quorix_slot;    /* a character or boolean argument: lowest byte counts */
typedef unsigned char quorix_bool;

/* Opening, finishing and error reporting of a report */
QUORIX_API quorix_bool QUORIX_CALL quorix_InicializarPAF(quorix_text cnpjCpf,
                                                         quorix_text stateRegistration,
                                                         quorix_text municipalRegistration,
                                                         quorix_text companyName);
QUORIX_API quorix_bool QUORIX_CALL quorix_FinalizarPAF(quorix_text publicKey,
                                                       quorix_text privateKey, quorix_text fileName,
                                                       quorix_slot signOnly);
QUORIX_API void QUORIX_CALL quorix_GetMessageError(char **message);

/* Record builders */
QUORIX_API quorix_bool QUORIX_CALL quorix_Header(quorix_text recordType);

/* Record builders: DAV issued, goods in stock, goods and services table.
 * Dates are days since 1899-12-30 (only the date is written); amounts are in
 * currency units; a negative stock quantity is written with its sign. */
QUORIX_API quorix_bool QUORIX_CALL quorix_RelacaoDavEmitido(
    quorix_text recordType, quorix_text serialNumber, quorix_text mfAdditional, quorix_text ecfType,
    quorix_text ecfBrand, quorix_text ecfModel, int32_t coo, quorix_text davNumber, double davDate,
    quorix_text davTitle, double davTotal);
QUORIX_API quorix_bool QUORIX_CALL quorix_RelacaoMercadoriaEstoque(
    quorix_text recordType, quorix_text productCode, quorix_text productDescription,
    quorix_text unitOfMeasure, double stockQuantity, double stockDate);
/* The three indicators are single characters, exact and case-sensitive:
 * rounding 'A' or 'T', production 'P' or 'T', tax situation 'F', 'I', 'N', 'S' or 'T'. */
QUORIX_API quorix_bool QUORIX_CALL quorix_RelacaoMercadoriaServicos(
    quorix_text recordType, quorix_text productCode, quorix_text productDescription,
    quorix_text unitOfMeasure, quorix_slot roundingIndicator, quorix_slot productionIndicator,
    quorix_slot taxSituation, double taxRate, double unitPrice);
/* Totals, Reduction Z list and detail, daily movement. Dates and times are
 * day counts since 1899-12-30 (the fraction is the time of day). */
QUORIX_API quorix_bool QUORIX_CALL quorix_Totally(quorix_text recordType, quorix_text countedType);
QUORIX_API quorix_bool QUORIX_CALL
quorix_RelacaoReducoesZ(quorix_text recordType, quorix_text serialNumber, quorix_text mfAdditional,
                        quorix_text ecfModel, quorix_text userNumber, quorix_text crz,
                        quorix_text coo, quorix_text cro, double movementDate, double issueDate,
                        double issueTime, double grossSales, quorix_text issqnDiscountFlag);
QUORIX_API quorix_bool QUORIX_CALL
quorix_DetalheReducaoZ(quorix_text recordType, quorix_text serialNumber, quorix_text mfAdditional,
                       quorix_text ecfModel, quorix_text userNumber, quorix_text crz,
                       quorix_text totalizerCode, double accumulatedValue);
QUORIX_API quorix_bool QUORIX_CALL quorix_RelacaoMovimentoDiario(
    quorix_text recordType, double movementDay, quorix_text longCode, quorix_text shortCode,
    quorix_text firstNumber, quorix_text secondNumber, quorix_text serialNumber,
    quorix_text thirdNumber, quorix_text fourCharCode, double accountingValue, double taxBase,
    double taxRate, double taxAmount, double exemptAmount, double otherAmount);
/* Record builders: fiscal coupons, their items, other ECF documents, payments */
QUORIX_API quorix_bool QUORIX_CALL quorix_RelacaoCupomFiscal(
    quorix_text recordType, quorix_text serialNumber, quorix_text mfAdditional,
    quorix_text ecfModel, quorix_text userNumber, quorix_text ccf, quorix_text coo,
    double issueStartDate, double subtotal, double subtotalDiscount, quorix_slot discountKind,
    double subtotalIncrease, quorix_slot increaseKind, double netTotal, quorix_slot cancelIndicator,
    double cancelledIncrease, quorix_slot adjustmentOrder, quorix_text buyerName,
    quorix_text buyerId);
QUORIX_API quorix_bool QUORIX_CALL quorix_DetalheCupomFiscal(
    quorix_text recordType, quorix_text serialNumber, quorix_text mfAdditional,
    quorix_text ecfModel, quorix_text userNumber, quorix_text coo, quorix_text ccf,
    quorix_text itemNumber, quorix_text productCode, quorix_text productDescription,
    double quantity, quorix_text unitOfMeasure, double unitValue, double itemDiscount,
    double itemIncrease, double netTotal, quorix_text totalizerCode, quorix_slot cancelIndicator,
    double cancelledQuantity, double cancelledValue, double cancelledIncrease,
    quorix_slot roundingIndicator, quorix_slot productionIndicator, int32_t quantityDecimals,
    int32_t unitValueDecimals);
QUORIX_API quorix_bool QUORIX_CALL quorix_RelacaoDemaisDoctosEcf(
    quorix_text recordType, quorix_text serialNumber, quorix_text mfAdditional,
    quorix_text ecfModel, quorix_text userNumber, quorix_text coo, quorix_text gnf, quorix_text grg,
    quorix_text cdc, quorix_text documentSymbol, double issueEndDate, double issueEndTime);
QUORIX_API quorix_bool QUORIX_CALL quorix_DetalheDemaisDoctosEcf(
    quorix_text recordType, quorix_text serialNumber, quorix_text mfAdditional,
    quorix_text ecfModel, quorix_text userNumber, quorix_text coo, quorix_text ccf, quorix_text gnf,
    quorix_text paymentMethod, double amountPaid, quorix_slot reversalIndicator,
    double reversedAmount);

/* Key material, signing and validation */
QUORIX_API quorix_bool QUORIX_CALL quorix_GenerateKeys(char **publicKey, char **privateKey);
QUORIX_API quorix_bool QUORIX_CALL quorix_SignatureFileHash(quorix_text publicKey,
                                                            quorix_text privateKey,
                                                            quorix_text fileName);
QUORIX_API quorix_bool QUORIX_CALL quorix_ValidateFilePAF(quorix_text publicKey,
                                                          quorix_text privateKey,
                                                          quorix_text fileName);
QUORIX_API void QUORIX_CALL quorix_GenerateMD5(char **digest, quorix_text input);

/* ---- Side files, the Anexo VI block and the developer's public-key file --- */

/* A string list that the host owns; quorix_GetDataSoftwareHouse fills two.
 * The library calls clear once, then append once per entry in list order,
 * on the calling thread and before the call returns, passing context back
 * unchanged. Each function returns 1 on success. On failure it returns 0 and
 * may store in *error (NULL on entry) a text made with quorix_text_new, which
 * the library releases; the call then fails with "Arquivo Inv\xE1lido " CR LF,
 * the file name, CR LF and that text. The text handed to append lives for the
 * duration of the call only: copy it, or add one to its reference count and
 * release it later with quorix_text_release. */
typedef struct quorix_string_list {
  void *context;
  quorix_bool(QUORIX_CALL *clear)(void *context, char **error);
  quorix_bool(QUORIX_CALL *append)(void *context, quorix_text text, char **error);
} quorix_string_list;

/* Each list is passed as a pointer to its first text and the index of its
 * last one (-1 for an empty list, whose pointer is not read). */
QUORIX_API quorix_bool QUORIX_CALL quorix_GenerateDataSoftwareHouse(
    quorix_text cnpj, quorix_text stateRegistration, quorix_text municipalRegistration,
    quorix_text companyName, quorix_text address, quorix_text phone, quorix_text contact,
    quorix_text softwareName, quorix_text softwareVersion, quorix_text mainFile,
    quorix_text mainFileMd5, quorix_text erVersion, quorix_text reportNumber,
    const quorix_text *auxFiles, int32_t auxFilesLast, const quorix_text *auxFilesMd5,
    int32_t auxFilesMd5Last, quorix_text iniFileName);
/* A null list pointer skips that list. */
QUORIX_API quorix_bool QUORIX_CALL quorix_GetDataSoftwareHouse(
    char **cnpj, char **stateRegistration, char **municipalRegistration, char **companyName,
    char **address, char **phone, char **contact, char **softwareName, char **softwareVersion,
    char **mainFile, char **mainFileMd5, char **erVersion, char **reportNumber,
    const quorix_string_list *auxFiles, const quorix_string_list *auxFilesMd5,
    quorix_text iniFileName);

QUORIX_API quorix_bool QUORIX_CALL quorix_UpdateTotalizadorGeralECF(quorix_text serialNumber,
                                                                    double grandTotal,
                                                                    quorix_text iniFileName);
QUORIX_API quorix_bool QUORIX_CALL quorix_GetInfoTotalizadorECF(quorix_text serialNumber,
                                                                double *grandTotal,
                                                                quorix_text iniFileName);

/* Dates and times are days since 1899-12-30 (the fraction is the time of day). */
QUORIX_API quorix_bool QUORIX_CALL quorix_HeaderAnexoVI(
    quorix_text recordType, quorix_text serialNumber, quorix_text mfAdditional, quorix_text ecfType,
    quorix_text ecfBrand, quorix_text ecfModel, quorix_text firmwareVersion, double firmwareDate,
    double firmwareTime, int32_t ecfOrderNumber, quorix_text softwareHouseFile, double periodStart,
    double periodEnd, quorix_text versionCode);

QUORIX_API quorix_bool QUORIX_CALL quorix_GenarateFileXml(quorix_text developerName,
                                                          quorix_text modulus, quorix_text folder,
                                                          quorix_text publicExponent);

/* ---- Host-side helpers for the text form (header-only, C heap) ---------- */

/* A new text of `length` bytes copied from `bytes` (count 1); NULL for length 0. */
static inline char *quorix_text_new(const char *bytes, int32_t length) {
  char *block;
  if (length <= 0) return NULL;
  block = (char *)malloc((size_t)length + 9);
  if (!block) return NULL;
  ((int32_t *)block)[0] = 1;
  ((int32_t *)block)[1] = length;
  if (bytes)
    memcpy(block + 8, bytes, (size_t)length);
  else
    memset(block + 8, 0, (size_t)length);
  block[8 + length] = '\0';
  return block + 8;
}

static inline char *quorix_text_from(const char *nulTerminated) {
  return quorix_text_new(nulTerminated, nulTerminated ? (int32_t)strlen(nulTerminated) : 0);
}

static inline int32_t quorix_text_length(quorix_text text) {
  return text ? ((const int32_t *)text)[-1] : 0;
}

static inline int32_t quorix_text_refcount(quorix_text text) {
  return text ? ((const int32_t *)text)[-2] : 0;
}

/* Drops one reference; frees the text when none is left. Constants stay. */
static inline void quorix_text_release(quorix_text text) {
  int32_t *count;
  if (!text) return;
  count = (int32_t *)text - 2;
  if (*count == -1) return;
  if (--*count == 0) free(count);
}

/* Releases what the variable holds and empties it. */
static inline void quorix_text_clear(char **variable) {
  quorix_text_release(*variable);
  *variable = NULL;
}

#ifdef __cplusplus
}
#endif

#endif /* QUORIX_H */
