{ Calls per second through the quorix unit against the raw export with texts
  made once, for the shortest builder and the one with the most arguments;
  through the unit both for a host with Free Pascal's default floating-point
  exceptions (the unit masks them around each call) and for a host that
  masks them itself.
  Calls run in chunks of 20,000 into a freshly opened report, which is then
  dropped (a refused FinalizarPAF closes it); the fastest chunk of all
  rounds is shown, which keeps a busy machine's pauses out of the figures.
  usage: bench_quorix [rounds]   (default 5) }
program bench_quorix;

{$IFDEF FPC}
  {$MODE DELPHI}
  {$H+}
{$ENDIF}
{$APPTYPE CONSOLE}

uses
{$IFDEF MSWINDOWS}
  Windows,
{$ELSE}
  Unix,
{$ENDIF}
  SysUtils, Math, quorix;

const
  Chunk = 20000;
  Serial = 'PX0909SC556100001234';
  Model = 'PX-4000 FI EX';

function quorix_Header(recordType: PAnsiChar): Byte; stdcall;
  external QuorixLibrary name 'quorix_Header';
function quorix_DetalheCupomFiscal(recordType, serialNumber, mfAdditional, ecfModel,
  userNumber, coo, ccf, itemNumber, productCode, productDescription: PAnsiChar;
  quantity: Double; unitOfMeasure: PAnsiChar;
  unitValue, itemDiscount, itemIncrease, netTotal: Double; totalizerCode: PAnsiChar;
  cancelIndicator: Cardinal; cancelledQuantity, cancelledValue, cancelledIncrease: Double;
  roundingIndicator, productionIndicator: Cardinal;
  quantityDecimals, unitValueDecimals: Integer): Byte; stdcall;
  external QuorixLibrary name 'quorix_DetalheCupomFiscal';

type
  TWay = (wRawHeader, wUnitHeader, wMaskedHeader, wRawItem, wUnitItem, wMaskedItem);
  TTexts = array[0..11] of PAnsiChar;

var
  Texts: TTexts;

{ A constant text in the library's form (count -1), kept for the whole run. }
function Constant(const S: RawByteString): PAnsiChar;
var
  Block: PAnsiChar;
begin
  GetMem(Block, Length(S) + 9);
  PInteger(Block)^ := -1;
  PInteger(Block + 4)^ := Length(S);
  Move(Pointer(S)^, (Block + 8)^, Length(S) + 1);
  Result := Block + 8;
end;

procedure Open;
begin
  if not InicializarPAF('11.222.333/0001-81', '110.042.490.114', '', 'Padaria Px') then
    raise Exception.Create('InicializarPAF: ' + GetMessageError);
end;

procedure Drop;
begin
  FinalizarPAF('', '', '', False);
end;

function Seconds: Double;
{$IFDEF MSWINDOWS}
var
  Count, Frequency: Int64;
begin
  QueryPerformanceCounter(Count);
  QueryPerformanceFrequency(Frequency);
  Result := Count;
  Result := Result / Frequency;
end;
{$ELSE}
var
  Now: TTimeVal;
  Micro: Double;
begin
  fpgettimeofday(@Now, nil);
  Result := Now.tv_sec;
  Micro := Now.tv_usec;
  Result := Result + Micro / 1e6;
end;
{$ENDIF}

{ Calls per second of the fastest chunk. }
function Run(Way: TWay; Calls: Integer): Double;
var
  I, Done: Integer;
  Ok: Boolean;
  Start, Took, Best: Double;
  Host: TFPUExceptionMask;
begin
  Host := GetExceptionMask;
  if Way in [wMaskedHeader, wMaskedItem] then
    SetExceptionMask([exInvalidOp, exDenormalized, exZeroDivide, exOverflow, exUnderflow,
      exPrecision]);
  Ok := True;
  Best := MaxDouble;
  Done := 0;
  while Done < Calls do
  begin
    Open;
    Start := Seconds;
    for I := 1 to Chunk do
      case Way of
        wRawHeader:
          Ok := quorix_Header(Texts[0]) <> 0;
        wUnitHeader, wMaskedHeader:
          Ok := Header('E1');
        wRawItem:
          Ok := quorix_DetalheCupomFiscal(Texts[1], Texts[2], Texts[3], Texts[4], Texts[5],
            Texts[6], Texts[7], Texts[8], Texts[9], Texts[10], 0.745, Texts[11], 10.0, 0.01,
            0.02, 7.46, Texts[0], Ord('N'), 0, 0, 0, Ord('T'), Ord('P'), 3, 2) <> 0;
        wUnitItem, wMaskedItem:
          Ok := DetalheCupomFiscal('E15', Serial, 'A', Model, '4', '4569', '126', '2',
            '2000000000017', 'P'#$E3'o franc'#$EA's', 0.745, 'KG', 10.0, 0.01, 0.02, 7.46, 'E1',
            'N', 0, 0, 0, 'T', 'P', 3, 2);
      end;
    Took := Seconds - Start;
    Drop;
    if not Ok then
      raise Exception.Create('call failed: ' + GetMessageError);
    if Took < Best then
      Best := Took;
    Inc(Done, Chunk);
  end;
  SetExceptionMask(Host);
  Result := Chunk / Best;
end;

const
  Names: array[TWay] of string = ('quorix_Header, raw export', 'Header, unit',
    'Header, unit, host masks FP exceptions', 'quorix_DetalheCupomFiscal, raw export',
    'DetalheCupomFiscal, unit', 'DetalheCupomFiscal, unit, host masks FP exceptions');
  Calls: array[TWay] of Integer = (1000000, 1000000, 1000000, 300000, 300000, 300000);
var
  Way: TWay;
  Round, Rounds: Integer;
  Rate: Double;
  Best: array[TWay] of Double;
begin
  Rounds := StrToIntDef(ParamStr(1), 5);
  Texts[0] := Constant('E1');
  Texts[1] := Constant('E15');
  Texts[2] := Constant(Serial);
  Texts[3] := Constant('A');
  Texts[4] := Constant(Model);
  Texts[5] := Constant('4');
  Texts[6] := Constant('4569');
  Texts[7] := Constant('126');
  Texts[8] := Constant('2');
  Texts[9] := Constant('2000000000017');
  Texts[10] := Constant('P'#$E3'o franc'#$EA's');
  Texts[11] := Constant('KG');
  FillChar(Best, SizeOf(Best), 0);
  for Round := 1 to Rounds do
    for Way := Low(TWay) to High(TWay) do
    begin
      Rate := Run(Way, Calls[Way]);
      if Rate > Best[Way] then
        Best[Way] := Rate;
    end;
  for Way := Low(TWay) to High(TWay) do
    WriteLn(Format('%-50s %6.2f M calls/s  %5.0f ns/call',
      [Names[Way], Best[Way] / 1e6, 1e9 / Best[Way]]));
end.
