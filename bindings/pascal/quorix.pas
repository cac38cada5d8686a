{ quorix for Delphi (7 to 12) and Free Pascal 3.2 hosts: 32-bit Windows
  (quorix.dll) and x86-64 Linux (libquorix.so), bound statically.

  Every routine mirrors the export of the same name without "quorix_", with
  the same parameters in the same order. Texts are RawByteString holding
  Windows-1252 bytes; results are True on success, and after False
  GetMessageError gives the library's reason (Portuguese, Windows-1252).

  Why a unit and not a list of external declarations: the library's texts
  have an 8-byte header (reference count, length) and come from the C heap,
  while a Delphi 2009+ or Free Pascal AnsiString has a 12-byte header on
  32-bit (16 bytes on 64-bit) and is freed by the Pascal memory manager.
  So this unit builds every text it passes in the library's own form, copies
  every text it receives into a Pascal string and hands the library's block
  back to the C heap at once. No Pascal exception ever unwinds through the
  library: the two list functions it calls catch everything, and floating-
  point exceptions are masked while the library runs. }
unit quorix;

{$IFDEF FPC}
  {$MODE DELPHI}
  {$H+}
{$ENDIF}

interface

uses
  SysUtils, Classes;

type
{$IFNDEF FPC}
  {$IF CompilerVersion < 20.0}
  RawByteString = AnsiString;
  UnicodeString = WideString;
  {$IFEND}
{$ENDIF}
  { A text that Windows-1252 cannot hold, refused before it reaches the library. }
  EQuorixText = class(Exception);

const
{$IFDEF MSWINDOWS}
  QuorixLibrary = 'quorix.dll';
{$ELSE}
  {$IFDEF FPC}
  QuorixLibrary = 'quorix';
  {$ELSE}
  QuorixLibrary = 'libquorix.so';
  {$ENDIF}
{$ENDIF}

{ Opening, finishing and error reporting of a report }
function InicializarPAF(const CnpjCpf, StateRegistration, MunicipalRegistration,
  CompanyName: RawByteString): Boolean;
function FinalizarPAF(const PublicKey, PrivateKey, FileName: RawByteString;
  SignOnly: Boolean): Boolean;
function GetMessageError: RawByteString;

{ Record builders: one line each, in the order the lines stand in the file }
function Header(const RecordType: RawByteString): Boolean;
function HeaderAnexoVI(const RecordType, SerialNumber, MfAdditional, EcfType, EcfBrand,
  EcfModel, FirmwareVersion: RawByteString; FirmwareDate, FirmwareTime: TDateTime;
  EcfOrderNumber: Integer; const SoftwareHouseFile: RawByteString;
  PeriodStart, PeriodEnd: TDateTime; const VersionCode: RawByteString): Boolean;
function Totally(const RecordType, CountedType: RawByteString): Boolean;
function RelacaoDavEmitido(const RecordType, SerialNumber, MfAdditional, EcfType, EcfBrand,
  EcfModel: RawByteString; Coo: Integer; const DavNumber: RawByteString; DavDate: TDateTime;
  const DavTitle: RawByteString; DavTotal: Double): Boolean;
function RelacaoMercadoriaEstoque(const RecordType, ProductCode, ProductDescription,
  UnitOfMeasure: RawByteString; StockQuantity: Double; StockDate: TDateTime): Boolean;
function RelacaoMercadoriaServicos(const RecordType, ProductCode, ProductDescription,
  UnitOfMeasure: RawByteString; RoundingIndicator, ProductionIndicator,
  TaxSituation: AnsiChar; TaxRate, UnitPrice: Double): Boolean;
function RelacaoReducoesZ(const RecordType, SerialNumber, MfAdditional, EcfModel, UserNumber,
  Crz, Coo, Cro: RawByteString; MovementDate, IssueDate, IssueTime: TDateTime;
  GrossSales: Double; const IssqnDiscountFlag: RawByteString): Boolean;
function DetalheReducaoZ(const RecordType, SerialNumber, MfAdditional, EcfModel, UserNumber,
  Crz, TotalizerCode: RawByteString; AccumulatedValue: Double): Boolean;
function RelacaoCupomFiscal(const RecordType, SerialNumber, MfAdditional, EcfModel,
  UserNumber, Ccf, Coo: RawByteString; IssueStartDate: TDateTime;
  Subtotal, SubtotalDiscount: Double; DiscountKind: AnsiChar; SubtotalIncrease: Double;
  IncreaseKind: AnsiChar; NetTotal: Double; CancelIndicator: AnsiChar;
  CancelledIncrease: Double; AdjustmentOrder: AnsiChar;
  const BuyerName, BuyerId: RawByteString): Boolean;
function DetalheCupomFiscal(const RecordType, SerialNumber, MfAdditional, EcfModel,
  UserNumber, Coo, Ccf, ItemNumber, ProductCode, ProductDescription: RawByteString;
  Quantity: Double; const UnitOfMeasure: RawByteString;
  UnitValue, ItemDiscount, ItemIncrease, NetTotal: Double; const TotalizerCode: RawByteString;
  CancelIndicator: AnsiChar; CancelledQuantity, CancelledValue, CancelledIncrease: Double;
  RoundingIndicator, ProductionIndicator: AnsiChar;
  QuantityDecimals, UnitValueDecimals: Integer): Boolean;
function RelacaoDemaisDoctosEcf(const RecordType, SerialNumber, MfAdditional, EcfModel,
  UserNumber, Coo, Gnf, Grg, Cdc, DocumentSymbol: RawByteString;
  IssueEndDate, IssueEndTime: TDateTime): Boolean;
function DetalheDemaisDoctosEcf(const RecordType, SerialNumber, MfAdditional, EcfModel,
  UserNumber, Coo, Ccf, Gnf, PaymentMethod: RawByteString; AmountPaid: Double;
  ReversalIndicator: AnsiChar; ReversedAmount: Double): Boolean;
function RelacaoMovimentoDiario(const RecordType: RawByteString; MovementDay: TDateTime;
  const LongCode, ShortCode, FirstNumber, SecondNumber, SerialNumber, ThirdNumber,
  FourCharCode: RawByteString; AccountingValue, TaxBase, TaxRate, TaxAmount, ExemptAmount,
  OtherAmount: Double): Boolean;

{ Key material, signing and validation }
function GenerateKeys(out PublicKey, PrivateKey: RawByteString): Boolean;
function SignatureFileHash(const PublicKey, PrivateKey, FileName: RawByteString): Boolean;
function ValidateFilePAF(const PublicKey, PrivateKey, FileName: RawByteString): Boolean;
function GenerateMD5(const Input: RawByteString): RawByteString;

{ Side files. A nil list is an empty list (GenerateDataSoftwareHouse) or a
  list not asked for (GetDataSoftwareHouse). }
function GenerateDataSoftwareHouse(const Cnpj, StateRegistration, MunicipalRegistration,
  CompanyName, Address, Phone, Contact, SoftwareName, SoftwareVersion, MainFile, MainFileMd5,
  ErVersion, ReportNumber: RawByteString; AuxFiles, AuxFilesMd5: TStrings;
  const IniFileName: RawByteString): Boolean;
function GetDataSoftwareHouse(out Cnpj, StateRegistration, MunicipalRegistration, CompanyName,
  Address, Phone, Contact, SoftwareName, SoftwareVersion, MainFile, MainFileMd5, ErVersion,
  ReportNumber: RawByteString; AuxFiles, AuxFilesMd5: TStrings;
  const IniFileName: RawByteString): Boolean;
function UpdateTotalizadorGeralECF(const SerialNumber: RawByteString; GrandTotal: Double;
  const IniFileName: RawByteString): Boolean;
function GetInfoTotalizadorECF(const SerialNumber: RawByteString; out GrandTotal: Double;
  const IniFileName: RawByteString): Boolean;

{ The developer's public-key file; the export is spelled "Genarate". }
function GenarateFileXml(const DeveloperName, Modulus, Folder,
  PublicExponent: RawByteString): Boolean;
function GenerateFileXml(const DeveloperName, Modulus, Folder,
  PublicExponent: RawByteString): Boolean;

{ For hosts whose strings are Unicode (Delphi 2009+, Lazarus after
  UTF8Decode): the Windows-1252 bytes of a text, refusing with EQuorixText
  any character Windows-1252 cannot hold; and back. }
function ToWin1252(const S: UnicodeString): RawByteString;
function FromWin1252(const S: RawByteString): UnicodeString;

implementation

{$IFNDEF FPC}
  {$IF CompilerVersion >= 20.0}
    {$DEFINE QUORIX_UNICODE_VCL}
  {$IFEND}
{$ENDIF}
{ The library's floating-point code: x87 in the 32-bit DLL, SSE in the
  x86-64 shared library (which has no x87 instruction). }
{$IFDEF CPUX86_64}
  {$DEFINE QUORIX_SSE}
{$ENDIF}
{$IFDEF CPUX64}
  {$DEFINE QUORIX_SSE}
{$ENDIF}
{$IFDEF CPU386}
  {$DEFINE QUORIX_X87}
{$ENDIF}
{$IFDEF CPUI386}
  {$DEFINE QUORIX_X87}
{$ENDIF}

const
{$IFDEF MSWINDOWS}
  CRuntime = 'msvcrt.dll';
{$ELSE}
  {$IFDEF FPC}
  CRuntime = 'c';
  {$ELSE}
  CRuntime = 'libc.so.6';
  {$ENDIF}
{$ENDIF}

type
  { A text in the library's form: the pointer to its first byte, with the
    32-bit length just before it and the 32-bit reference count before that. }
  PText = PAnsiChar;
  PTextVar = ^PAnsiChar;
  PTextArray = ^PAnsiChar;
  TSlot = Cardinal;
  TResult = Byte;
  PInt32 = ^Integer;
  PReal = ^Double;
{$IFDEF FPC}
  TLength = PtrInt;
  TBlockSize = PtrUInt;
{$ELSE}
  TLength = Integer;
  {$IFDEF CPUX64}
  TBlockSize = UInt64;
  {$ELSE}
  TBlockSize = Cardinal;
  {$ENDIF}
{$ENDIF}

  TListClear = function(Context: Pointer; Error: PTextVar): TResult; stdcall;
  TListAppend = function(Context: Pointer; Text: PText; Error: PTextVar): TResult; stdcall;
  PHostList = ^THostList;
  THostList = record
    Context: Pointer;
    Clear: TListClear;
    Append: TListAppend;
  end;

function quorix_InicializarPAF(cnpjCpf, stateRegistration, municipalRegistration,
  companyName: PText): TResult; stdcall; external QuorixLibrary name 'quorix_InicializarPAF';
function quorix_FinalizarPAF(publicKey, privateKey, fileName: PText;
  signOnly: TSlot): TResult; stdcall; external QuorixLibrary name 'quorix_FinalizarPAF';
procedure quorix_GetMessageError(message: PTextVar); stdcall;
  external QuorixLibrary name 'quorix_GetMessageError';
function quorix_Header(recordType: PText): TResult; stdcall;
  external QuorixLibrary name 'quorix_Header';
function quorix_HeaderAnexoVI(recordType, serialNumber, mfAdditional, ecfType, ecfBrand,
  ecfModel, firmwareVersion: PText; firmwareDate, firmwareTime: Double;
  ecfOrderNumber: Integer; softwareHouseFile: PText; periodStart, periodEnd: Double;
  versionCode: PText): TResult; stdcall; external QuorixLibrary name 'quorix_HeaderAnexoVI';
function quorix_Totally(recordType, countedType: PText): TResult; stdcall;
  external QuorixLibrary name 'quorix_Totally';
function quorix_RelacaoDavEmitido(recordType, serialNumber, mfAdditional, ecfType, ecfBrand,
  ecfModel: PText; coo: Integer; davNumber: PText; davDate: Double; davTitle: PText;
  davTotal: Double): TResult; stdcall; external QuorixLibrary name 'quorix_RelacaoDavEmitido';
function quorix_RelacaoMercadoriaEstoque(recordType, productCode, productDescription,
  unitOfMeasure: PText; stockQuantity, stockDate: Double): TResult; stdcall;
  external QuorixLibrary name 'quorix_RelacaoMercadoriaEstoque';
function quorix_RelacaoMercadoriaServicos(recordType, productCode, productDescription,
  unitOfMeasure: PText; roundingIndicator, productionIndicator, taxSituation: TSlot;
  taxRate, unitPrice: Double): TResult; stdcall;
  external QuorixLibrary name 'quorix_RelacaoMercadoriaServicos';
function quorix_RelacaoReducoesZ(recordType, serialNumber, mfAdditional, ecfModel,
  userNumber, crz, coo, cro: PText; movementDate, issueDate, issueTime, grossSales: Double;
  issqnDiscountFlag: PText): TResult; stdcall;
  external QuorixLibrary name 'quorix_RelacaoReducoesZ';
function quorix_DetalheReducaoZ(recordType, serialNumber, mfAdditional, ecfModel,
  userNumber, crz, totalizerCode: PText; accumulatedValue: Double): TResult; stdcall;
  external QuorixLibrary name 'quorix_DetalheReducaoZ';
function quorix_RelacaoCupomFiscal(recordType, serialNumber, mfAdditional, ecfModel,
  userNumber, ccf, coo: PText; issueStartDate, subtotal, subtotalDiscount: Double;
  discountKind: TSlot; subtotalIncrease: Double; increaseKind: TSlot; netTotal: Double;
  cancelIndicator: TSlot; cancelledIncrease: Double; adjustmentOrder: TSlot;
  buyerName, buyerId: PText): TResult; stdcall;
  external QuorixLibrary name 'quorix_RelacaoCupomFiscal';
function quorix_DetalheCupomFiscal(recordType, serialNumber, mfAdditional, ecfModel,
  userNumber, coo, ccf, itemNumber, productCode, productDescription: PText;
  quantity: Double; unitOfMeasure: PText;
  unitValue, itemDiscount, itemIncrease, netTotal: Double; totalizerCode: PText;
  cancelIndicator: TSlot; cancelledQuantity, cancelledValue, cancelledIncrease: Double;
  roundingIndicator, productionIndicator: TSlot;
  quantityDecimals, unitValueDecimals: Integer): TResult; stdcall;
  external QuorixLibrary name 'quorix_DetalheCupomFiscal';
function quorix_RelacaoDemaisDoctosEcf(recordType, serialNumber, mfAdditional, ecfModel,
  userNumber, coo, gnf, grg, cdc, documentSymbol: PText;
  issueEndDate, issueEndTime: Double): TResult; stdcall;
  external QuorixLibrary name 'quorix_RelacaoDemaisDoctosEcf';
function quorix_DetalheDemaisDoctosEcf(recordType, serialNumber, mfAdditional, ecfModel,
  userNumber, coo, ccf, gnf, paymentMethod: PText; amountPaid: Double;
  reversalIndicator: TSlot; reversedAmount: Double): TResult; stdcall;
  external QuorixLibrary name 'quorix_DetalheDemaisDoctosEcf';
function quorix_RelacaoMovimentoDiario(recordType: PText; movementDay: Double;
  longCode, shortCode, firstNumber, secondNumber, serialNumber, thirdNumber,
  fourCharCode: PText; accountingValue, taxBase, taxRate, taxAmount, exemptAmount,
  otherAmount: Double): TResult; stdcall;
  external QuorixLibrary name 'quorix_RelacaoMovimentoDiario';
function quorix_GenerateKeys(publicKey, privateKey: PTextVar): TResult; stdcall;
  external QuorixLibrary name 'quorix_GenerateKeys';
function quorix_SignatureFileHash(publicKey, privateKey, fileName: PText): TResult; stdcall;
  external QuorixLibrary name 'quorix_SignatureFileHash';
function quorix_ValidateFilePAF(publicKey, privateKey, fileName: PText): TResult; stdcall;
  external QuorixLibrary name 'quorix_ValidateFilePAF';
procedure quorix_GenerateMD5(digest: PTextVar; input: PText); stdcall;
  external QuorixLibrary name 'quorix_GenerateMD5';
function quorix_GenerateDataSoftwareHouse(cnpj, stateRegistration, municipalRegistration,
  companyName, address, phone, contact, softwareName, softwareVersion, mainFile, mainFileMd5,
  erVersion, reportNumber: PText; auxFiles: PTextArray; auxFilesLast: Integer;
  auxFilesMd5: PTextArray; auxFilesMd5Last: Integer; iniFileName: PText): TResult; stdcall;
  external QuorixLibrary name 'quorix_GenerateDataSoftwareHouse';
function quorix_GetDataSoftwareHouse(cnpj, stateRegistration, municipalRegistration,
  companyName, address, phone, contact, softwareName, softwareVersion, mainFile, mainFileMd5,
  erVersion, reportNumber: PTextVar; auxFiles, auxFilesMd5: PHostList;
  iniFileName: PText): TResult; stdcall;
  external QuorixLibrary name 'quorix_GetDataSoftwareHouse';
function quorix_UpdateTotalizadorGeralECF(serialNumber: PText; grandTotal: Double;
  iniFileName: PText): TResult; stdcall;
  external QuorixLibrary name 'quorix_UpdateTotalizadorGeralECF';
function quorix_GetInfoTotalizadorECF(serialNumber: PText; grandTotal: PReal;
  iniFileName: PText): TResult; stdcall;
  external QuorixLibrary name 'quorix_GetInfoTotalizadorECF';
function quorix_GenarateFileXml(developerName, modulus, folder,
  publicExponent: PText): TResult; stdcall;
  external QuorixLibrary name 'quorix_GenarateFileXml';

{ The library allocates what it hands out, and frees what it is handed back,
  on the C heap: on Windows the msvcrt.dll heap, on Linux the process's. }
function c_malloc(Size: TBlockSize): Pointer; cdecl; external CRuntime name 'malloc';
procedure c_free(Block: Pointer); cdecl; external CRuntime name 'free';

{ ---- Windows-1252 ------------------------------------------------------- }

const
  { The characters of bytes $80..$9F; the five unassigned bytes stand for the
    control characters of the same number, as Windows maps them. }
  Chars80To9F: array[$80..$9F] of Word = (
    $20AC, $0081, $201A, $0192, $201E, $2026, $2020, $2021,
    $02C6, $2030, $0160, $2039, $0152, $008D, $017D, $008F,
    $0090, $2018, $2019, $201C, $201D, $2022, $2013, $2014,
    $02DC, $2122, $0161, $203A, $0153, $009D, $017E, $0178);

{ The byte of a character, or -1 when Windows-1252 has none. }
function ByteOf(C: Word): Integer;
var
  B: Integer;
begin
  if (C < $80) or ((C >= $A0) and (C <= $FF)) then
  begin
    Result := C;
    Exit;
  end;
  for B := Low(Chars80To9F) to High(Chars80To9F) do
    if Chars80To9F[B] = C then
    begin
      Result := B;
      Exit;
    end;
  Result := -1;
end;

function CodePointAt(const S: UnicodeString; I: Integer): Cardinal;
var
  Hi, Lo: Cardinal;
begin
  Hi := Ord(S[I]);
  Result := Hi;
  if (Hi >= $D800) and (Hi <= $DBFF) and (I < Length(S)) then
  begin
    Lo := Ord(S[I + 1]);
    if (Lo >= $DC00) and (Lo <= $DFFF) then
      Result := $10000 + (Hi - $D800) shl 10 + (Lo - $DC00);
  end;
end;

function ToWin1252(const S: UnicodeString): RawByteString;
var
  I, B: Integer;
begin
  SetLength(Result, Length(S));
  for I := 1 to Length(S) do
  begin
    B := ByteOf(Ord(S[I]));
    if B < 0 then
      raise EQuorixText.CreateFmt('O caractere U+%.4X (posi'#$E7#$E3'o %d) n'#$E3'o existe em ' +
        'Windows-1252', [CodePointAt(S, I), I]);
    Result[I] := AnsiChar(B);
  end;
{$IFDEF QUORIX_UNICODE_VCL}
  SetCodePage(Result, 1252, False);
{$ENDIF}
end;

function FromWin1252(const S: RawByteString): UnicodeString;
var
  I: Integer;
  B: Byte;
begin
  SetLength(Result, Length(S));
  for I := 1 to Length(S) do
  begin
    B := Ord(S[I]);
    if (B >= Low(Chars80To9F)) and (B <= High(Chars80To9F)) then
      Result[I] := WideChar(Chars80To9F[B])
    else
      Result[I] := WideChar(B);
  end;
end;

{ ---- Texts in and out --------------------------------------------------- }

const
  { Room for the texts of a typical call on the caller's stack; bigger sets
    take one heap block. }
  InlineTextBytes = 1536;
  MaxCallTexts = 14;
  MaxTextLength = $7FFFFFF0;

type
  TFpuState = record
    Changed: Boolean;
{$IFDEF QUORIX_X87}
    ControlWord: Word;
{$ENDIF}
{$IFDEF QUORIX_SSE}
    Mxcsr: Cardinal;
{$ENDIF}
  end;

  { The input texts of one call, in the library's form with the constant
    count -1, so the library neither counts nor frees them. }
  TCallTexts = record
    P: array[0..MaxCallTexts - 1] of PText;
    Heap: Pointer;
    Fpu: TFpuState;
    Buf: array[0..InlineTextBytes - 1] of Byte;
  end;

function SlotSize(N: TLength): TLength; {$IFDEF FPC}inline;{$ENDIF}
begin
  if N = 0 then
    Result := 0
  else
    Result := (N + 12) and not TLength(3); { count, length, bytes, NUL; 4-aligned }
end;

{ Writes S in the library's form at Block; returns the text pointer. }
function PlaceText(Block: PAnsiChar; const S: RawByteString): PText;
var
  N: TLength;
begin
  N := Length(S);
  PInt32(Block)^ := -1;
  PInt32(Block + 4)^ := Integer(N);
  Move(Pointer(S)^, (Block + 8)^, N);
  (Block + 8 + N)^ := #0;
  Result := Block + 8;
end;

{ The library's C code must run with floating-point exceptions masked, as C
  code expects: a Pascal host unmasks invalid operation, division by zero
  and overflow, and such an exception raised inside the library would unwind
  through its C frames. Loading the control word is slow on some machines,
  so a host that already runs with every exception masked skips it. }
procedure MaskFpu(out Saved: TFpuState);
begin
  Saved.Changed := False;
{$IFDEF QUORIX_X87}
  Saved.ControlWord := Get8087CW;
  if Saved.ControlWord and $3F <> $3F then
  begin
    Set8087CW(Saved.ControlWord or $3F);
    Saved.Changed := True;
  end;
{$ENDIF}
{$IFDEF QUORIX_SSE}
  Saved.Mxcsr := GetMXCSR;
  if Saved.Mxcsr and $1F80 <> $1F80 then
  begin
    SetMXCSR(Saved.Mxcsr or $1F80);
    Saved.Changed := True;
  end;
{$ENDIF}
end;

procedure RestoreFpu(const Saved: TFpuState);
begin
  if not Saved.Changed then
    Exit;
{$IFDEF QUORIX_X87}
  Set8087CW(Saved.ControlWord); { clears what the library left pending first }
{$ENDIF}
{$IFDEF QUORIX_SSE}
  SetMXCSR(Saved.Mxcsr); { the host's own flags back; SSE raises nothing on reload }
{$ENDIF}
end;

{ The call's texts in one heap block, when they do not fit on the stack. }
procedure PlaceOnHeap(var C: TCallTexts; const S: array of RawByteString);
var
  I: Integer;
  Size: TLength;
  Block: PAnsiChar;
begin
  Size := 0;
  for I := 0 to High(S) do
  begin
    if Length(S[I]) > MaxTextLength then
      raise EQuorixText.Create('Texto longo demais para a biblioteca');
    Inc(Size, SlotSize(Length(S[I])));
  end;
  GetMem(C.Heap, Size);
  Block := C.Heap;
  for I := 0 to High(S) do
    if Length(S[I]) = 0 then
      C.P[I] := nil
    else
    begin
      C.P[I] := PlaceText(Block, S[I]);
      Inc(Block, SlotSize(Length(S[I])));
    end;
end;

{ Prepares a call: the texts in the library's form and the floating-point
  environment. Raises (before anything is allocated) only when out of memory
  or given a text longer than the library's 32-bit length. Every Enter is
  followed by Leave, with nothing but the library call between them. }
procedure Enter(out C: TCallTexts; const S: array of RawByteString);
var
  I: Integer;
  N, Used, Size: TLength;
  Block: PAnsiChar;
  Text: Pointer;
begin
  C.Heap := nil;
  Used := 0;
  for I := 0 to High(S) do
  begin
    Text := Pointer(S[I]);
    if Text = nil then
      C.P[I] := nil
    else
    begin
      N := Length(S[I]);
      Size := SlotSize(N);
      if Used + Size > InlineTextBytes then
      begin
        PlaceOnHeap(C, S);
        Break;
      end;
      Block := @C.Buf[Used];
      PInt32(Block)^ := -1;
      PInt32(Block + 4)^ := Integer(N);
      Move(Text^, (Block + 8)^, N + 1); { a Pascal string always ends in a NUL }
      C.P[I] := Block + 8;
      Inc(Used, Size);
    end;
  end;
  MaskFpu(C.Fpu);
end;

procedure Leave(var C: TCallTexts);
begin
  RestoreFpu(C.Fpu);
  if C.Heap <> nil then
    FreeMem(C.Heap);
end;

function TextLength(P: PText): Integer;
begin
  if P = nil then
    Result := 0
  else
    Result := PInt32(P - 4)^;
end;

{ Drops the reference the library gave us; the block goes back to the C heap. }
procedure ReleaseText(var P: PText);
var
  Count: PInt32;
begin
  if P = nil then
    Exit;
  Count := PInt32(P - 8);
  if Count^ <> -1 then
  begin
    Dec(Count^);
    if Count^ = 0 then
      c_free(Count);
  end;
  P := nil;
end;

function CopyText(P: PText): RawByteString;
var
  N: Integer;
begin
  N := TextLength(P);
  if N <= 0 then
    Result := ''
  else
  begin
    SetString(Result, P, N);
{$IFDEF QUORIX_UNICODE_VCL}
    SetCodePage(Result, 1252, False);
{$ENDIF}
  end;
end;

{ Copies the library's text and releases it, whatever happens to the copy. }
function TakeText(var P: PText): RawByteString;
begin
  try
    Result := CopyText(P);
  finally
    ReleaseText(P);
  end;
end;

{ A new text on the C heap, count 1, as the library expects from the list
  functions (it releases it). Never raises: nil when memory is short. }
function NewCText(const S: RawByteString): PText;
var
  Block: PAnsiChar;
begin
  Result := nil;
  if (Length(S) = 0) or (Length(S) > MaxTextLength) then
    Exit;
  Block := c_malloc(Length(S) + 9);
  if Block = nil then
    Exit;
  Result := PlaceText(Block, S);
  PInt32(Block)^ := 1;
end;

{ ---- Host lists --------------------------------------------------------- }

function HostMessage(const S: string): RawByteString;
{$IFDEF QUORIX_UNICODE_VCL}
var
  I, B: Integer;
begin
  { Characters Windows-1252 cannot hold are spelled out, not replaced. }
  Result := '';
  for I := 1 to Length(S) do
  begin
    B := ByteOf(Ord(S[I]));
    if B >= 0 then
      Result := Result + AnsiChar(B)
    else
      Result := Result + RawByteString(Format('U+%.4X', [Ord(S[I])]));
  end;
end;
{$ELSE}
begin
  Result := S;
end;
{$ENDIF}

procedure StoreHostFailure(Error: PTextVar; E: TObject);
begin
  try
    if (Error <> nil) and (E is Exception) then
      Error^ := NewCText(HostMessage(Exception(E).Message));
  except
    { Without a text the library reports the failure in its own words. }
  end;
end;

function ListClear(Context: Pointer; Error: PTextVar): TResult; stdcall;
begin
  try
    TStrings(Context).Clear;
    Result := 1;
  except
    StoreHostFailure(Error, ExceptObject);
    Result := 0;
  end;
end;

function ListAppend(Context: Pointer; Text: PText; Error: PTextVar): TResult; stdcall;
begin
  try
{$IFDEF QUORIX_UNICODE_VCL}
    TStrings(Context).Add(string(CopyText(Text)));
{$ELSE}
    TStrings(Context).Add(CopyText(Text));
{$ENDIF}
    Result := 1;
  except
    StoreHostFailure(Error, ExceptObject);
    Result := 0;
  end;
end;

function HostList(out L: THostList; Strings: TStrings): PHostList;
begin
  Result := nil;
  if Strings = nil then
    Exit;
  L.Context := Strings;
  L.Clear := ListClear;
  L.Append := ListAppend;
  Result := @L;
end;

{ A list as an array of library texts in one heap block: the pointers, then
  the texts. Nil (and Last -1) for an empty list. }
function PackList(Strings: TStrings; out Last: Integer): Pointer;
var
  Texts: array of RawByteString;
  I: Integer;
  Size: TLength;
  Slots: PTextArray;
  Block: PAnsiChar;
begin
  Result := nil;
  Last := -1;
  if (Strings = nil) or (Strings.Count = 0) then
    Exit;
  SetLength(Texts, Strings.Count);
  Size := Length(Texts) * SizeOf(PText);
  for I := 0 to High(Texts) do
  begin
{$IFDEF QUORIX_UNICODE_VCL}
    Texts[I] := ToWin1252(Strings[I]);
{$ELSE}
    Texts[I] := Strings[I];
{$ENDIF}
    Inc(Size, SlotSize(Length(Texts[I])));
  end;
  GetMem(Result, Size);
  Slots := Result;
  Block := PAnsiChar(Result) + Length(Texts) * SizeOf(PText);
  for I := 0 to High(Texts) do
  begin
    if Texts[I] = '' then
      Slots^ := nil
    else
    begin
      Slots^ := PlaceText(Block, Texts[I]);
      Inc(Block, SlotSize(Length(Texts[I])));
    end;
    Inc(Slots);
  end;
  Last := High(Texts);
end;

{ ---- The exports -------------------------------------------------------- }

function InicializarPAF(const CnpjCpf, StateRegistration, MunicipalRegistration,
  CompanyName: RawByteString): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [CnpjCpf, StateRegistration, MunicipalRegistration, CompanyName]);
  Result := quorix_InicializarPAF(C.P[0], C.P[1], C.P[2], C.P[3]) <> 0;
  Leave(C);
end;

function FinalizarPAF(const PublicKey, PrivateKey, FileName: RawByteString;
  SignOnly: Boolean): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [PublicKey, PrivateKey, FileName]);
  Result := quorix_FinalizarPAF(C.P[0], C.P[1], C.P[2], Ord(SignOnly)) <> 0;
  Leave(C);
end;

function GetMessageError: RawByteString;
var
  C: TCallTexts;
  Message: PText;
begin
  Message := nil;
  Enter(C, []);
  quorix_GetMessageError(@Message);
  Leave(C);
  Result := TakeText(Message);
end;

function Header(const RecordType: RawByteString): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [RecordType]);
  Result := quorix_Header(C.P[0]) <> 0;
  Leave(C);
end;

function HeaderAnexoVI(const RecordType, SerialNumber, MfAdditional, EcfType, EcfBrand,
  EcfModel, FirmwareVersion: RawByteString; FirmwareDate, FirmwareTime: TDateTime;
  EcfOrderNumber: Integer; const SoftwareHouseFile: RawByteString;
  PeriodStart, PeriodEnd: TDateTime; const VersionCode: RawByteString): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [RecordType, SerialNumber, MfAdditional, EcfType, EcfBrand, EcfModel,
    FirmwareVersion, SoftwareHouseFile, VersionCode]);
  Result := quorix_HeaderAnexoVI(C.P[0], C.P[1], C.P[2], C.P[3], C.P[4], C.P[5], C.P[6],
    FirmwareDate, FirmwareTime, EcfOrderNumber, C.P[7], PeriodStart, PeriodEnd, C.P[8]) <> 0;
  Leave(C);
end;

function Totally(const RecordType, CountedType: RawByteString): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [RecordType, CountedType]);
  Result := quorix_Totally(C.P[0], C.P[1]) <> 0;
  Leave(C);
end;

function RelacaoDavEmitido(const RecordType, SerialNumber, MfAdditional, EcfType, EcfBrand,
  EcfModel: RawByteString; Coo: Integer; const DavNumber: RawByteString; DavDate: TDateTime;
  const DavTitle: RawByteString; DavTotal: Double): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [RecordType, SerialNumber, MfAdditional, EcfType, EcfBrand, EcfModel, DavNumber,
    DavTitle]);
  Result := quorix_RelacaoDavEmitido(C.P[0], C.P[1], C.P[2], C.P[3], C.P[4], C.P[5], Coo,
    C.P[6], DavDate, C.P[7], DavTotal) <> 0;
  Leave(C);
end;

function RelacaoMercadoriaEstoque(const RecordType, ProductCode, ProductDescription,
  UnitOfMeasure: RawByteString; StockQuantity: Double; StockDate: TDateTime): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [RecordType, ProductCode, ProductDescription, UnitOfMeasure]);
  Result := quorix_RelacaoMercadoriaEstoque(C.P[0], C.P[1], C.P[2], C.P[3], StockQuantity,
    StockDate) <> 0;
  Leave(C);
end;

function RelacaoMercadoriaServicos(const RecordType, ProductCode, ProductDescription,
  UnitOfMeasure: RawByteString; RoundingIndicator, ProductionIndicator,
  TaxSituation: AnsiChar; TaxRate, UnitPrice: Double): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [RecordType, ProductCode, ProductDescription, UnitOfMeasure]);
  Result := quorix_RelacaoMercadoriaServicos(C.P[0], C.P[1], C.P[2], C.P[3],
    Ord(RoundingIndicator), Ord(ProductionIndicator), Ord(TaxSituation), TaxRate,
    UnitPrice) <> 0;
  Leave(C);
end;

function RelacaoReducoesZ(const RecordType, SerialNumber, MfAdditional, EcfModel, UserNumber,
  Crz, Coo, Cro: RawByteString; MovementDate, IssueDate, IssueTime: TDateTime;
  GrossSales: Double; const IssqnDiscountFlag: RawByteString): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [RecordType, SerialNumber, MfAdditional, EcfModel, UserNumber, Crz, Coo, Cro,
    IssqnDiscountFlag]);
  Result := quorix_RelacaoReducoesZ(C.P[0], C.P[1], C.P[2], C.P[3], C.P[4], C.P[5], C.P[6],
    C.P[7], MovementDate, IssueDate, IssueTime, GrossSales, C.P[8]) <> 0;
  Leave(C);
end;

function DetalheReducaoZ(const RecordType, SerialNumber, MfAdditional, EcfModel, UserNumber,
  Crz, TotalizerCode: RawByteString; AccumulatedValue: Double): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [RecordType, SerialNumber, MfAdditional, EcfModel, UserNumber, Crz,
    TotalizerCode]);
  Result := quorix_DetalheReducaoZ(C.P[0], C.P[1], C.P[2], C.P[3], C.P[4], C.P[5], C.P[6],
    AccumulatedValue) <> 0;
  Leave(C);
end;

function RelacaoCupomFiscal(const RecordType, SerialNumber, MfAdditional, EcfModel,
  UserNumber, Ccf, Coo: RawByteString; IssueStartDate: TDateTime;
  Subtotal, SubtotalDiscount: Double; DiscountKind: AnsiChar; SubtotalIncrease: Double;
  IncreaseKind: AnsiChar; NetTotal: Double; CancelIndicator: AnsiChar;
  CancelledIncrease: Double; AdjustmentOrder: AnsiChar;
  const BuyerName, BuyerId: RawByteString): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [RecordType, SerialNumber, MfAdditional, EcfModel, UserNumber, Ccf, Coo,
    BuyerName, BuyerId]);
  Result := quorix_RelacaoCupomFiscal(C.P[0], C.P[1], C.P[2], C.P[3], C.P[4], C.P[5], C.P[6],
    IssueStartDate, Subtotal, SubtotalDiscount, Ord(DiscountKind), SubtotalIncrease,
    Ord(IncreaseKind), NetTotal, Ord(CancelIndicator), CancelledIncrease,
    Ord(AdjustmentOrder), C.P[7], C.P[8]) <> 0;
  Leave(C);
end;

function DetalheCupomFiscal(const RecordType, SerialNumber, MfAdditional, EcfModel,
  UserNumber, Coo, Ccf, ItemNumber, ProductCode, ProductDescription: RawByteString;
  Quantity: Double; const UnitOfMeasure: RawByteString;
  UnitValue, ItemDiscount, ItemIncrease, NetTotal: Double; const TotalizerCode: RawByteString;
  CancelIndicator: AnsiChar; CancelledQuantity, CancelledValue, CancelledIncrease: Double;
  RoundingIndicator, ProductionIndicator: AnsiChar;
  QuantityDecimals, UnitValueDecimals: Integer): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [RecordType, SerialNumber, MfAdditional, EcfModel, UserNumber, Coo, Ccf,
    ItemNumber, ProductCode, ProductDescription, UnitOfMeasure, TotalizerCode]);
  Result := quorix_DetalheCupomFiscal(C.P[0], C.P[1], C.P[2], C.P[3], C.P[4], C.P[5], C.P[6],
    C.P[7], C.P[8], C.P[9], Quantity, C.P[10], UnitValue, ItemDiscount, ItemIncrease,
    NetTotal, C.P[11], Ord(CancelIndicator), CancelledQuantity, CancelledValue,
    CancelledIncrease, Ord(RoundingIndicator), Ord(ProductionIndicator), QuantityDecimals,
    UnitValueDecimals) <> 0;
  Leave(C);
end;

function RelacaoDemaisDoctosEcf(const RecordType, SerialNumber, MfAdditional, EcfModel,
  UserNumber, Coo, Gnf, Grg, Cdc, DocumentSymbol: RawByteString;
  IssueEndDate, IssueEndTime: TDateTime): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [RecordType, SerialNumber, MfAdditional, EcfModel, UserNumber, Coo, Gnf, Grg, Cdc,
    DocumentSymbol]);
  Result := quorix_RelacaoDemaisDoctosEcf(C.P[0], C.P[1], C.P[2], C.P[3], C.P[4], C.P[5],
    C.P[6], C.P[7], C.P[8], C.P[9], IssueEndDate, IssueEndTime) <> 0;
  Leave(C);
end;

function DetalheDemaisDoctosEcf(const RecordType, SerialNumber, MfAdditional, EcfModel,
  UserNumber, Coo, Ccf, Gnf, PaymentMethod: RawByteString; AmountPaid: Double;
  ReversalIndicator: AnsiChar; ReversedAmount: Double): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [RecordType, SerialNumber, MfAdditional, EcfModel, UserNumber, Coo, Ccf, Gnf,
    PaymentMethod]);
  Result := quorix_DetalheDemaisDoctosEcf(C.P[0], C.P[1], C.P[2], C.P[3], C.P[4], C.P[5],
    C.P[6], C.P[7], C.P[8], AmountPaid, Ord(ReversalIndicator), ReversedAmount) <> 0;
  Leave(C);
end;

function RelacaoMovimentoDiario(const RecordType: RawByteString; MovementDay: TDateTime;
  const LongCode, ShortCode, FirstNumber, SecondNumber, SerialNumber, ThirdNumber,
  FourCharCode: RawByteString; AccountingValue, TaxBase, TaxRate, TaxAmount, ExemptAmount,
  OtherAmount: Double): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [RecordType, LongCode, ShortCode, FirstNumber, SecondNumber, SerialNumber,
    ThirdNumber, FourCharCode]);
  Result := quorix_RelacaoMovimentoDiario(C.P[0], MovementDay, C.P[1], C.P[2], C.P[3],
    C.P[4], C.P[5], C.P[6], C.P[7], AccountingValue, TaxBase, TaxRate, TaxAmount,
    ExemptAmount, OtherAmount) <> 0;
  Leave(C);
end;

function GenerateKeys(out PublicKey, PrivateKey: RawByteString): Boolean;
var
  C: TCallTexts;
  Keys: array[0..1] of PText;
begin
  Keys[0] := nil;
  Keys[1] := nil;
  try
    Enter(C, []);
    Result := quorix_GenerateKeys(@Keys[0], @Keys[1]) <> 0;
    Leave(C);
    PublicKey := CopyText(Keys[0]);
    PrivateKey := CopyText(Keys[1]);
  finally
    ReleaseText(Keys[0]);
    ReleaseText(Keys[1]);
  end;
end;

function SignatureFileHash(const PublicKey, PrivateKey, FileName: RawByteString): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [PublicKey, PrivateKey, FileName]);
  Result := quorix_SignatureFileHash(C.P[0], C.P[1], C.P[2]) <> 0;
  Leave(C);
end;

function ValidateFilePAF(const PublicKey, PrivateKey, FileName: RawByteString): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [PublicKey, PrivateKey, FileName]);
  Result := quorix_ValidateFilePAF(C.P[0], C.P[1], C.P[2]) <> 0;
  Leave(C);
end;

function GenerateMD5(const Input: RawByteString): RawByteString;
var
  C: TCallTexts;
  Digest: PText;
begin
  Digest := nil;
  Enter(C, [Input]);
  quorix_GenerateMD5(@Digest, C.P[0]);
  Leave(C);
  Result := TakeText(Digest);
end;

function GenerateDataSoftwareHouse(const Cnpj, StateRegistration, MunicipalRegistration,
  CompanyName, Address, Phone, Contact, SoftwareName, SoftwareVersion, MainFile, MainFileMd5,
  ErVersion, ReportNumber: RawByteString; AuxFiles, AuxFilesMd5: TStrings;
  const IniFileName: RawByteString): Boolean;
var
  C: TCallTexts;
  Files, Digests: Pointer;
  FilesLast, DigestsLast: Integer;
begin
  Digests := nil;
  Files := PackList(AuxFiles, FilesLast);
  try
    Digests := PackList(AuxFilesMd5, DigestsLast);
    Enter(C, [Cnpj, StateRegistration, MunicipalRegistration, CompanyName, Address, Phone,
      Contact, SoftwareName, SoftwareVersion, MainFile, MainFileMd5, ErVersion, ReportNumber,
      IniFileName]);
    Result := quorix_GenerateDataSoftwareHouse(C.P[0], C.P[1], C.P[2], C.P[3], C.P[4], C.P[5],
      C.P[6], C.P[7], C.P[8], C.P[9], C.P[10], C.P[11], C.P[12], Files, FilesLast, Digests,
      DigestsLast, C.P[13]) <> 0;
    Leave(C);
  finally
    FreeMem(Files);
    FreeMem(Digests);
  end;
end;

function GetDataSoftwareHouse(out Cnpj, StateRegistration, MunicipalRegistration, CompanyName,
  Address, Phone, Contact, SoftwareName, SoftwareVersion, MainFile, MainFileMd5, ErVersion,
  ReportNumber: RawByteString; AuxFiles, AuxFilesMd5: TStrings;
  const IniFileName: RawByteString): Boolean;
var
  C: TCallTexts;
  T: array[0..12] of PText;
  Files, Digests: THostList;
  I: Integer;
begin
  FillChar(T, SizeOf(T), 0);
  try
    Enter(C, [IniFileName]);
    Result := quorix_GetDataSoftwareHouse(@T[0], @T[1], @T[2], @T[3], @T[4], @T[5], @T[6],
      @T[7], @T[8], @T[9], @T[10], @T[11], @T[12], HostList(Files, AuxFiles),
      HostList(Digests, AuxFilesMd5), C.P[0]) <> 0;
    Leave(C);
    Cnpj := CopyText(T[0]);
    StateRegistration := CopyText(T[1]);
    MunicipalRegistration := CopyText(T[2]);
    CompanyName := CopyText(T[3]);
    Address := CopyText(T[4]);
    Phone := CopyText(T[5]);
    Contact := CopyText(T[6]);
    SoftwareName := CopyText(T[7]);
    SoftwareVersion := CopyText(T[8]);
    MainFile := CopyText(T[9]);
    MainFileMd5 := CopyText(T[10]);
    ErVersion := CopyText(T[11]);
    ReportNumber := CopyText(T[12]);
  finally
    for I := Low(T) to High(T) do
      ReleaseText(T[I]);
  end;
end;

function UpdateTotalizadorGeralECF(const SerialNumber: RawByteString; GrandTotal: Double;
  const IniFileName: RawByteString): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [SerialNumber, IniFileName]);
  Result := quorix_UpdateTotalizadorGeralECF(C.P[0], GrandTotal, C.P[1]) <> 0;
  Leave(C);
end;

function GetInfoTotalizadorECF(const SerialNumber: RawByteString; out GrandTotal: Double;
  const IniFileName: RawByteString): Boolean;
var
  C: TCallTexts;
  Total: Double;
begin
  Total := 0;
  Enter(C, [SerialNumber, IniFileName]);
  Result := quorix_GetInfoTotalizadorECF(C.P[0], @Total, C.P[1]) <> 0;
  Leave(C);
  GrandTotal := Total;
end;

function GenarateFileXml(const DeveloperName, Modulus, Folder,
  PublicExponent: RawByteString): Boolean;
var
  C: TCallTexts;
begin
  Enter(C, [DeveloperName, Modulus, Folder, PublicExponent]);
  Result := quorix_GenarateFileXml(C.P[0], C.P[1], C.P[2], C.P[3]) <> 0;
  Leave(C);
end;

function GenerateFileXml(const DeveloperName, Modulus, Folder,
  PublicExponent: RawByteString): Boolean;
begin
  Result := GenarateFileXml(DeveloperName, Modulus, Folder, PublicExponent);
end;

end.
