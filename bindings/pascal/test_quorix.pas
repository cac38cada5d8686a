{ Drives every export through the quorix unit, as a Pascal host does: a
  report holding every record kind is built, finished, signed and validated;
  texts cross in both directions byte for byte; messages, side files, the
  public-key file and failing host lists come back as the library gives them.
  usage: test_quorix    (in a folder holding expected_report.txt; prints
  "N passed, M failed" last) }
program test_quorix;

{$IFDEF FPC}
  {$MODE DELPHI}
  {$H+}
{$ENDIF}
{$APPTYPE CONSOLE}

uses
  {$IFDEF UNIX}cwstring, {$ENDIF}{ the host's file names in UTF-8, as the system has them }
  SysUtils, Classes, Math, quorix;

const
  Cnpj = '11.222.333/0001-81';
  Company = 'Padaria P'#$E3'o Dourado Ltda';
  Serial = 'PX0909SC556100001234';
  Brand = 'Fabricante X';
  Model = 'PX-4000 FI EX';
  Day = 39508.0;                          { 2008-03-01 }
  Time = (13 * 3600 + 5 * 60 + 9) / 86400; { 13:05:09 }
  InvalidFile = 'Arquivo Inv'#$E1'lido '#13#10;
  WantTotal: Double = 1234567.89;

type
  { A host list that fails the way its mode says. }
  TFailure = (fNone, fClearRaises, fAddRaises, fAddRaisesObject);
  TRefusingList = class(TStringList)
  public
    Mode: TFailure;
    procedure Clear; override;
    function Add(const S: string): Integer; override;
  end;

var
  Passed, Failed: Integer;
  Folder: string;
  PublicKey, PrivateKey: RawByteString;

procedure TRefusingList.Clear;
begin
  if Mode = fClearRaises then
    raise Exception.Create('limpeza recusada');
  inherited Clear;
end;

function TRefusingList.Add(const S: string): Integer;
begin
  if Mode = fAddRaises then
    raise Exception.Create('lista cheia: ' + S);
  if Mode = fAddRaisesObject then
    raise TObject.Create;
  Result := inherited Add(S);
end;

{ ---- Checks ------------------------------------------------------------- }

function Shown(const S: RawByteString): string;
var
  I: Integer;
begin
  Result := '';
  for I := 1 to Length(S) do
    if (S[I] >= ' ') and (S[I] < #$7F) then
      Result := Result + Char(S[I])
    else
      Result := Result + Format('#$%.2X', [Ord(S[I])]);
end;

procedure Check(Ok: Boolean; const What: string);
begin
  if Ok then
    Inc(Passed)
  else
  begin
    Inc(Failed);
    WriteLn('FAILED: ', What);
  end;
end;

function SameBytes(const A, B: RawByteString): Boolean;
begin
  Result := (Length(A) = Length(B)) and
    ((Length(A) = 0) or CompareMem(Pointer(A), Pointer(B), Length(A)));
end;

procedure CheckBytes(const Got, Want: RawByteString; const What: string);
begin
  Check(SameBytes(Got, Want), What + #10'   got  ' + Shown(Got) + #10'   want ' + Shown(Want));
end;

{ The call failed and left exactly this message. }
procedure CheckFailure(Ok: Boolean; const Want: RawByteString; const What: string);
begin
  Check(not Ok, What + ' should fail');
  CheckBytes(GetMessageError, Want, What + ' message');
end;

function Path(const Name: string): string;
begin
  Result := Folder + PathDelim + Name;
end;

function FileBytes(const Name: string): RawByteString;
var
  F: TFileStream;
begin
  F := TFileStream.Create(Name, fmOpenRead or fmShareDenyNone);
  try
    SetLength(Result, F.Size);
    if F.Size > 0 then
      F.ReadBuffer(Pointer(Result)^, F.Size);
  finally
    F.Free;
  end;
end;

procedure WriteBytes(const Name: string; const Bytes: RawByteString);
var
  F: TFileStream;
begin
  F := TFileStream.Create(Name, fmCreate);
  try
    if Bytes <> '' then
      F.WriteBuffer(Pointer(Bytes)^, Length(Bytes));
  finally
    F.Free;
  end;
end;

{ The lines of a file, each of which must end in CR LF. }
function FileLines(const Name: string): TStringList;
var
  Bytes: RawByteString;
  Start, I: Integer;
begin
  Result := TStringList.Create;
  Bytes := FileBytes(Name);
  Start := 1;
  I := 1;
  while I < Length(Bytes) do
    if (Bytes[I] = #13) and (Bytes[I + 1] = #10) then
    begin
      Result.Add(Copy(Bytes, Start, I - Start));
      Inc(I, 2);
      Start := I;
    end
    else
      Inc(I);
  Check(Start = Length(Bytes) + 1, Name + ' ends in CR LF');
end;

{ ---- Texts across the boundary ------------------------------------------ }

function AllBytes: RawByteString;
var
  I: Integer;
begin
  SetLength(Result, 256);
  for I := 0 to 255 do
    Result[I + 1] := AnsiChar(I);
end;

{ The library hands GenerateMD5's input back: every byte goes in and out. }
procedure TestTextsRoundTrip;
var
  Texts: array[0..5] of RawByteString;
  I: Integer;
begin
  Texts[0] := '';
  Texts[1] := 'abc';
  Texts[2] := 'A'#$E7#$FA'car cristal, p'#$E3'o franc'#$EA's, '#$80' 2,50';
  Texts[3] := 'antes'#0'depois';
  Texts[4] := AllBytes;
  Texts[5] := StringOfChar(AnsiChar('x'), 70000) + #$E9; { beyond the call's own room }
  for I := Low(Texts) to High(Texts) do
    CheckBytes(GenerateMD5(Texts[I]), Texts[I], Format('GenerateMD5 round trip %d', [I]));
end;

procedure TestWin1252;
const
  Accented: array[0..4] of Word = ($E3, $20AC, $0178, $201C, $0081);
var
  U: UnicodeString;
  Raised: string;
  I: Integer;
begin
  SetLength(U, Length(Accented));
  for I := 0 to High(Accented) do
    U[I + 1] := WideChar(Accented[I]);
  CheckBytes(ToWin1252(U), #$E3#$80#$9F#$93#$81, 'ToWin1252 bytes');
  Check(FromWin1252(#$E3#$80#$9F#$93#$81) = U, 'FromWin1252 characters');
  CheckBytes(ToWin1252(FromWin1252(AllBytes)), AllBytes, 'every byte converts both ways');

  Raised := '';
  try
    ToWin1252('ok ' + WideChar($4E2D));
  except
    on E: EQuorixText do
      Raised := E.Message;
  end;
  CheckBytes(Raised, 'O caractere U+4E2D (posi'#$E7#$E3'o 4) n'#$E3'o existe em Windows-1252',
    'ToWin1252 refuses what Windows-1252 has no byte for');
end;

{ ---- Messages ------------------------------------------------------------ }

procedure TestMessages;
begin
  CheckFailure(InicializarPAF('', '', '', ''),
    'CPF/CNPJ inv'#$E1'lido' + 'Raz'#$E3'o Social inv'#$E1'lida.'#13#10, 'InicializarPAF');
  CheckFailure(FinalizarPAF('1', '2', Path('nunca.txt'), False),
    'Chaves P'#$FA'blica e/ou Privada Inv'#$E1'lidas ', 'FinalizarPAF with short keys');
  Check(not FileExists(Path('nunca.txt')), 'no report file after refused keys');

  Check(InicializarPAF(Cnpj, '', '', Company), 'InicializarPAF');
  CheckFailure(Header('E'), 'Tipo de Registro Inv'#$E1'lido E', 'Header with a short type');
  CheckFailure(RelacaoMercadoriaEstoque('E2', ' ', 'Farinha', 'KG', 1, Day),
    'C'#$F3'digo Produto Inv'#$E1'lido ', 'stock line without a product code');
  { A Pascal host unmasks floating-point exceptions; the library's arithmetic
    must still end in its own answer, not in an exception raised inside it. }
  CheckFailure(RelacaoMercadoriaServicos('P2', '1003', 'Sonho', 'UN', 'T', 'P', 'T', 18,
    Infinity), #13#10'Valor num'#$E9'rico inv'#$E1'lido (n'#$E3'o '#$E9' um n'#$FA'mero finito)',
    'an infinite price');
  Check(not DetalheReducaoZ('R03', Serial, '', Model, '1', '123', 'T18,00', 1e308),
    'an amount whose rendering overflows');
  Check(Pos('Layout Inv'#$E1'lido '#13#10'R03' + Serial, GetMessageError) = 1,
    'the overflowing amount ends in the layout message');
  Check(FinalizarPAF(PublicKey, PrivateKey, Path('vazio.txt'), False), 'FinalizarPAF');
  CheckBytes(GetMessageError, '', 'no message after a finished report');
end;

{ ---- One report of every record kind ------------------------------------- }

procedure WriteSoftwareHouse(const IniFile: string; Files, Digests: TStrings);
begin
  Check(GenerateDataSoftwareHouse('22.333.444/0001-81', '120.042.490.118', '55123',
    'Software Px & Filhos Ltda', 'Rua das Ac'#$E1'cias, 12 - S'#$E3'o Jos'#$E9, '(48) 5555-0101',
    'Jo'#$E3'o Corr'#$EA'a', 'Caixa F'#$E1'cil PDV', '3.2.1', 'caixa.exe',
    '0123456789ABCDEF0123456789ABCDEF', '01.06', 'LAUDO-'#$C7'-77', Files, Digests, IniFile),
    'GenerateDataSoftwareHouse ' + IniFile);
end;

function BuildEveryRecord(const House: string): Boolean;
begin
  Result := InicializarPAF(Cnpj, '110.042.490.114', '', Company) and Header('E1') and
    HeaderAnexoVI('E01', Serial, 'A', 'ECF-IF', Brand, Model, '01.00.01', 39406.0,
      47109 / 86400, 7, House, 39508.0, 39538.0, '0107') and
    RelacaoDavEmitido('D2', Serial, 'B', 'ECF-IF', Brand, Model, 1021, '2024000117', 45443.6,
      'Or'#$E7'amento', 152.75) and
    RelacaoMercadoriaEstoque('E2', '1002', 'Fermento biol'#$F3'gico', 'KG', -1.2, 45443) and
    RelacaoMercadoriaServicos('P2', '1003', 'Sonho de creme', 'UN', 'T', 'P', 'S', 18, 6.5) and
    RelacaoReducoesZ('R02', Serial, 'C', Model, '1', '123', '4567', '2', Day, Day + 1,
      Time, 3480.25, 'N') and
    DetalheReducaoZ('R03', Serial, 'C', Model, '2', '124', 'T18,00', 2150) and
    RelacaoCupomFiscal('E14', Serial, 'A', Model, '3', '125', '4568', Day, 12.45, 0.45, 'V',
      0.30, 'P', 12.30, 'N', 0.10, 'D', 'Jos'#$E9' da Silva', '529.982.247-25') and
    DetalheCupomFiscal('E15', Serial, 'A', Model, '4', '4569', '126', '2', '2000000000017',
      'P'#$E3'o franc'#$EA's', 0.745, 'KG', 10.0, 0.01, 0.02, 7.46, '01T1700', 'S', 0.5, 5.0,
      0.03, 'T', 'P', 3, 2) and
    RelacaoDemaisDoctosEcf('E16', Serial, 'A', Model, '5', '4570', '17', '18', '19', 'CN', Day,
      Time) and
    DetalheDemaisDoctosEcf('E21', Serial, 'A', Model, '6', '4571', '127', '20',
      'Cart'#$E3'o D'#$E9'bito', 7.0, 'S', 1.5) and
    RelacaoMovimentoDiario('E22', Day, 'ECF-IF', '01', '4566', '4567', Serial, '123', '2D',
      3130.25, 2150.00, 18, 387.00, 980.25, 0.5) and
    Totally('T9', 'E1');
end;

procedure TestReport;
var
  House, Report: string;
  Ok: Boolean;
  Lines, Want: TStringList;
  I: Integer;
  Bytes: RawByteString;
begin
  House := Path('software-house.ini');
  Report := Path('every-record.txt');
  WriteSoftwareHouse(House, nil, nil);
  Ok := BuildEveryRecord(House);
  Check(Ok, 'every builder: ' + Shown(GetMessageError));
  Check(FinalizarPAF(PublicKey, PrivateKey, Report, False), 'FinalizarPAF ' + Report);
  Check(ValidateFilePAF(PublicKey, PrivateKey, Report), 'ValidateFilePAF ' + Report);

  { Every field of these lines shows where its argument went. }
  Want := TStringList.Create;
  Lines := FileLines(Report);
  try
    Want.LoadFromFile(Path('expected_report.txt'));
    Check(Lines.Count = Want.Count + 1, Format('%d lines and the signature, got %d',
      [Want.Count, Lines.Count]));
    for I := 0 to Min(Want.Count, Lines.Count) - 1 do
      CheckBytes(Lines[I], Want[I], Format('line %d', [I + 1]));
    Check(Copy(Lines[Lines.Count - 1], 1, 3) = 'EAD', 'the signature line closes the file');
  finally
    Lines.Free;
    Want.Free;
  end;

  { One changed byte and the signature no longer holds. }
  Bytes := FileBytes(Report);
  Bytes[3] := 'X';
  WriteBytes(Report, Bytes);
  Check(not ValidateFilePAF(PublicKey, PrivateKey, Report), 'a changed file fails validation');
  WriteBytes(Path('assinado.txt'), 'linha'#13#10);
  Check(SignatureFileHash(PublicKey, PrivateKey, Path('assinado.txt')) and
    ValidateFilePAF(PublicKey, PrivateKey, Path('assinado.txt')), 'SignatureFileHash');
end;

{ ---- Side files, the public-key file, host lists --------------------------- }

procedure TestSideFiles;
var
  House, Totals: string;
  Files, Digests, GotFiles, GotDigests: TStringList;
  V: array[0..12] of RawByteString;
  Total: Double;
  Accented: UnicodeString;
begin
  House := Path('house-round-trip.ini');
  Totals := Path('totals.ini');
  Files := TStringList.Create;
  Digests := TStringList.Create;
  GotFiles := TStringList.Create;
  GotDigests := TStringList.Create;
  try
    Files.Add('relat'#$F3'rios.dll');
    Files.Add('tef-cart'#$F5'es.dll');
    Digests.Add('9E107D9D372BB6826BD81D3542A419D6');
    Digests.Add('E4D909C290D0FB1CA068FFADDF22CBD0');
    GotFiles.Add('left from before');
    WriteSoftwareHouse(House, Files, Digests);
    Check(GetDataSoftwareHouse(V[0], V[1], V[2], V[3], V[4], V[5], V[6], V[7], V[8], V[9],
      V[10], V[11], V[12], GotFiles, GotDigests, House), 'GetDataSoftwareHouse');
    CheckBytes(V[0] + '|' + V[1] + '|' + V[2] + '|' + V[3] + '|' + V[4] + '|' + V[5] + '|' +
      V[6] + '|' + V[7] + '|' + V[8] + '|' + V[9] + '|' + V[10] + '|' + V[11] + '|' + V[12],
      '22.333.444/0001-81|120.042.490.118|55123|Software Px & Filhos Ltda|' +
      'Rua das Ac'#$E1'cias, 12 - S'#$E3'o Jos'#$E9'|(48) 5555-0101|Jo'#$E3'o Corr'#$EA'a|' +
      'Caixa F'#$E1'cil PDV|3.2.1|caixa.exe|0123456789ABCDEF0123456789ABCDEF|01.06|' +
      'LAUDO-'#$C7'-77', 'the thirteen software-house texts');
    CheckBytes(GotFiles.Text, Files.Text, 'auxiliary files');
    CheckBytes(GotDigests.Text, Digests.Text, 'auxiliary digests');
    Check(GetDataSoftwareHouse(V[0], V[1], V[2], V[3], V[4], V[5], V[6], V[7], V[8], V[9],
      V[10], V[11], V[12], nil, nil, House) and (V[7] = 'Caixa F'#$E1'cil PDV'),
      'GetDataSoftwareHouse without lists');
  finally
    Files.Free;
    Digests.Free;
    GotFiles.Free;
    GotDigests.Free;
  end;

  Check(UpdateTotalizadorGeralECF('S'#$C9'RIE '#$C7'-01', WantTotal, Totals),
    'UpdateTotalizadorGeralECF');
  Check(GetInfoTotalizadorECF('S'#$C9'RIE '#$C7'-01', Total, Totals), 'GetInfoTotalizadorECF');
  Check(Total = WantTotal, Format('grand total read back: %g', [Total]));

  { A host's own accented folder: the library is given its name in
    Windows-1252 and names the same file the host's file functions see. }
  Accented := UnicodeString(Folder) + PathDelim + 'past' + WideChar($E1) + PathDelim + 'relat' +
    WideChar($F3) + 'rio.ini';
  Check(ForceDirectories(ExtractFileDir(Accented)), 'accented folder made');
  Check(UpdateTotalizadorGeralECF('ECF 1', 7, ToWin1252(Accented)) and FileExists(Accented),
    'grand total in an accented folder');
end;

procedure TestHostListFailures;
const
  Cases: array[0..2] of record
    Mode: TFailure;
    Reason: RawByteString;
  end = (
    (Mode: fClearRaises; Reason: 'limpeza recusada'),
    (Mode: fAddRaises; Reason: 'lista cheia: relat'#$F3'rios.dll'),
    (Mode: fAddRaisesObject; Reason: 'A lista do host recusou o texto relat'#$F3'rios.dll'));
var
  House: string;
  List: TRefusingList;
  V: array[0..12] of RawByteString;
  I: Integer;
  Ok: Boolean;
begin
  House := Path('house-round-trip.ini');
  for I := Low(Cases) to High(Cases) do
  begin
    List := TRefusingList.Create;
    try
      List.Mode := Cases[I].Mode;
      Ok := True;
      try
        Ok := GetDataSoftwareHouse(V[0], V[1], V[2], V[3], V[4], V[5], V[6], V[7], V[8], V[9],
          V[10], V[11], V[12], List, nil, House);
      except
        on E: Exception do
          Check(False, 'an exception came out of the library: ' + E.Message);
      end;
      CheckFailure(Ok, InvalidFile + House + #13#10 + Cases[I].Reason,
        Format('host list failure %d', [I]));
    finally
      List.Free;
    end;
  end;
end;

procedure TestPublicKeyFile;
var
  Moduli: array[0..1] of RawByteString;
  I: Integer;
begin
  Moduli[0] := PublicKey;
  Moduli[1] := StringOfChar(AnsiChar('A'), 3000); { the call's texts spill from the stack }
  for I := Low(Moduli) to High(Moduli) do
  begin
    Check(GenarateFileXml('Desenvolvedora Px', Moduli[I], Folder, '010001'), 'GenarateFileXml');
    CheckBytes(FileBytes(Path('Desenvolvedora Px.xml')),
      '<?xml version="1.0"?> '#13#10'<empresa_desenvolvedora> '#13#10 +
      '     <nome>Desenvolvedora Px</nome> '#13#10'     <chave> '#13#10 +
      '                <modulo>' + Moduli[I] + '</modulo> '#13#10 +
      '                     <expoente_publico>010001</expoente_publico> '#13#10 +
      '     </chave> '#13#10'</empresa_desenvolvedora> '#13#10#13#10,
      Format('public-key file %d', [I]));
  end;
end;

{$IFDEF FPC}
{ The unit's own allocations all go back: many calls of every text kind
  leave the Pascal heap as it was. }
procedure TestPascalHeapBalance;

  procedure Round;
  var
    V: array[0..12] of RawByteString;
    Files: TStringList;
  begin
    Files := TStringList.Create;
    try
      GenerateMD5(StringOfChar(AnsiChar('y'), 5000));
      GetMessageError;
      GetDataSoftwareHouse(V[0], V[1], V[2], V[3], V[4], V[5], V[6], V[7], V[8], V[9], V[10],
        V[11], V[12], Files, nil, Path('house-round-trip.ini'));
    finally
      Files.Free;
    end;
  end;

var
  Before: PtrUInt;
  I: Integer;
begin
  Round;
  Before := GetFPCHeapStatus.CurrHeapUsed;
  for I := 1 to 200 do
    Round;
  Check(GetFPCHeapStatus.CurrHeapUsed = Before, 'Pascal heap unchanged after 200 rounds');
end;
{$ENDIF}

begin
  Folder := GetCurrentDir;
  Check(GenerateKeys(PublicKey, PrivateKey) and (Length(PublicKey) = 256) and
    (Length(PrivateKey) = 256), 'GenerateKeys gives two 256-digit keys');
  TestTextsRoundTrip;
  TestWin1252;
  TestMessages;
  TestReport;
  TestSideFiles;
  TestHostListFailures;
  TestPublicKeyFile;
{$IFDEF FPC}
  TestPascalHeapBalance;
{$ENDIF}
  WriteLn(Format('%d passed, %d failed', [Passed, Failed]));
  if Failed > 0 then
    Halt(1);
end.
