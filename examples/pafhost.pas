{ A complete quorix host in Pascal: a key pair, a stock report of two goods
  finished into a signed file, and the file validated.

  Delphi (32-bit Windows): add bindings/pascal/quorix.pas to the project and
  put quorix.dll and sign_bema.dll beside the program.
  Free Pascal (Linux):  fpc -Fu../bindings/pascal -Fl<folder of libquorix.so> pafhost.pas

  Texts are Windows-1252 bytes: 'P'#$E3'o' is "Pao" with a tilde on the a. }
program pafhost;

{$IFDEF FPC}
  {$MODE DELPHI}
{$ENDIF}
{$APPTYPE CONSOLE}

uses
  SysUtils, quorix;

procedure Check(Ok: Boolean; const What: string);
begin
  if not Ok then
  begin
    WriteLn(What, ' falhou: ', GetMessageError); { the library's reason }
    Halt(1);
  end;
end;

var
  PublicKey, PrivateKey: RawByteString;
  Report: string;
  Day: TDateTime;
begin
  Report := ExpandFileName('estoque.txt');
  Day := EncodeDate(2024, 5, 31);
  Check(GenerateKeys(PublicKey, PrivateKey), 'GenerateKeys');

  Check(InicializarPAF('11.222.333/0001-81', '110.042.490.114', '',
    'Padaria P'#$E3'o Dourado Ltda'), 'InicializarPAF');
  Check(Header('E1'), 'Header');
  Check(RelacaoMercadoriaEstoque('E2', '1001', 'P'#$E3'o franc'#$EA's', 'KG', 12.35, Day),
    'RelacaoMercadoriaEstoque');
  Check(RelacaoMercadoriaEstoque('E2', '1002', 'Sonho de creme', 'UN', 40, Day),
    'RelacaoMercadoriaEstoque');
  Check(Totally('E9', 'E2'), 'Totally');
  Check(FinalizarPAF(PublicKey, PrivateKey, Report, False), 'FinalizarPAF');

  Check(ValidateFilePAF(PublicKey, PrivateKey, Report), 'ValidateFilePAF');
  WriteLn('Signed and validated: ', Report);
end.
