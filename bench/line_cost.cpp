// Calls one record builder a given number of times through the exports, with
// texts counted as a host's (count 1, made once), so that an instruction
// counter run twice, at N and 2N lines, gives one line's cost as the
// difference: everything else the process does is the same in both runs.
//   line_cost BUILDER LINES     BUILDER: one of the names `line_cost list` prints
// Every line must be accepted; the first refusal ends the run with status 1.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host_text.h"
#include "quorix.h"

namespace {

using qb::Text;

// Invented sample data.
struct Texts {
  Text serial{"QX0123456789ABCDEF01"}, mf{"A"}, model{"QX-2200 FI"}, user{"1"}, coo{"4567"},
      ccf{"123"}, item{"12"}, code{"7890000000017"},
      description{
          "A\xE7\xFA"
          "car cristal pacote 1kg"},
      unit{"kg"}, totalizer{"T1800"}, ecfType{"ECF-IF"}, brand{"Fabricante Exemplo"},
      firmware{"01.00.01"}, house{""}, version{"0107"}, dav{"2024000117"},
      davTitle{
          "Or\xE7"
          "amento"},
      crz{"123"}, cro{"2"}, flag{"N"}, rz{"T18,00"}, longCode{"ECF-IF"}, shortCode{"01"},
      four{"2D"}, buyer{"Cliente Exemplo"}, buyerId{"529.982.247-25"}, gnf{"17"}, empty{""},
      symbol{"CN"}, method{"Dinheiro"}, e1{"E1"}, e2{"E2"}, e9{"E9"}, d2{"D2"}, p2{"P2"},
      e01{"E01"}, e14{"E14"}, e15{"E15"}, e16{"E16"}, e21{"E21"}, e22{"E22"}, r02{"R02"},
      r03{"R03"};
};

constexpr double kDay = 45443.0;  // days since 1899-12-30
constexpr double kTime = 0.5452;

// One builder's line; `i` varies a value so that no call repeats the last one.
struct Builder {
  const char* name;
  quorix_bool (*call)(Texts& t, int i);
};

double Varied(double base, int i) { return base + 0.001 * (i & 1023); }

const Builder kBuilders[] = {
    {"header", [](Texts& t, int) { return quorix_Header(t.e1); }},
    {"anexo_vi",
     [](Texts& t, int) {
       return quorix_HeaderAnexoVI(t.e01, t.serial, t.mf, t.ecfType, t.brand, t.model, t.firmware,
                                   kDay, kTime, 1, t.house, kDay, kDay + 30, t.version);
     }},
    {"totally", [](Texts& t, int) { return quorix_Totally(t.e9, t.e2); }},
    {"dav_issued",
     [](Texts& t, int i) {
       return quorix_RelacaoDavEmitido(t.d2, t.serial, t.mf, t.ecfType, t.brand, t.model, 1021,
                                       t.dav, kDay, t.davTitle, Varied(152.75, i));
     }},
    {"goods_in_stock",
     [](Texts& t, int i) {
       return quorix_RelacaoMercadoriaEstoque(t.e2, t.code, t.description, t.unit, Varied(148, i),
                                              kDay);
     }},
    {"goods_and_services",
     [](Texts& t, int i) {
       return quorix_RelacaoMercadoriaServicos(t.p2, t.code, t.description, t.unit, 'A', 'T', 'T',
                                               18, Varied(5.49, i));
     }},
    {"reduction_z_list",
     [](Texts& t, int i) {
       return quorix_RelacaoReducoesZ(t.r02, t.serial, t.mf, t.model, t.user, t.crz, t.coo, t.cro,
                                      kDay, kDay + 1, kTime, Varied(3480.25, i), t.flag);
     }},
    {"reduction_z_detail",
     [](Texts& t, int i) {
       return quorix_DetalheReducaoZ(t.r03, t.serial, t.mf, t.model, t.user, t.crz, t.rz,
                                     Varied(2150, i));
     }},
    {"fiscal_coupon",
     [](Texts& t, int i) {
       return quorix_RelacaoCupomFiscal(t.e14, t.serial, t.mf, t.model, t.user, t.ccf, t.coo, kDay,
                                        Varied(12.45, i), 0.45, 'V', 0, ' ', 12.00, 'N', 0, 'D',
                                        t.buyer, t.buyerId);
     }},
    {"fiscal_coupon_item",
     [](Texts& t, int i) {
       const double quantity = Varied(2.25, i);
       return quorix_DetalheCupomFiscal(t.e15, t.serial, t.mf, t.model, t.user, t.coo, t.ccf,
                                        t.item, t.code, t.description, quantity, t.unit, 4.99, 0.23,
                                        0.1, quantity * 4.99 - 0.13, t.totalizer, 'N', 0, 0, 0, 'A',
                                        'T', 3, 2);
     }},
    {"other_document",
     [](Texts& t, int) {
       return quorix_RelacaoDemaisDoctosEcf(t.e16, t.serial, t.mf, t.model, t.user, t.coo, t.gnf,
                                            t.empty, t.empty, t.symbol, kDay, kTime);
     }},
    {"payment",
     [](Texts& t, int i) {
       return quorix_DetalheDemaisDoctosEcf(t.e21, t.serial, t.mf, t.model, t.user, t.coo, t.ccf,
                                            t.empty, t.method, Varied(50, i), 'N', 0);
     }},
    {"daily_movement",
     [](Texts& t, int i) {
       return quorix_RelacaoMovimentoDiario(t.e22, kDay, t.longCode, t.shortCode, t.coo, t.coo,
                                            t.serial, t.crz, t.four, Varied(3130.25, i), 2150.00,
                                            18, 387.00, 980.25, 0);
     }},
};

[[noreturn]] void Fail(const char* what) {
  char* message = nullptr;
  quorix_GetMessageError(&message);
  std::fprintf(stderr, "line_cost: %s failed: %.*s\n", what, quorix_text_length(message),
               message ? message : "");
  quorix_text_release(message);
  std::exit(1);
}

void OpenReport() {
  Text cnpj("11.222.333/0001-81"), ie("110.042.490.114"), im(""), name("Mercearia Exemplo Ltda");
  if (!quorix_InicializarPAF(cnpj, ie, im, name)) Fail("quorix_InicializarPAF");
}

// The software-house file the Anexo VI block loads at every call.
void WriteSoftwareHouse(const std::string& path, Texts& t) {
  Text cnpj("11.222.333/0001-81"), ie("110.042.490.114"), im("12345"),
      name("Software House Exemplo Ltda"), address("Rua Exemplo, 100"), phone("(11) 5555-0000"),
      contact("Contato Exemplo"), program("Caixa Exemplo"), version("2.1.0"), main("caixa.exe"),
      md5("0123456789ABCDEF0123456789ABCDEF"), er("01.06"), report("LAUDO-001"), file(path);
  if (!quorix_GenerateDataSoftwareHouse(cnpj, ie, im, name, address, phone, contact, program,
                                        version, main, md5, er, report, nullptr, -1, nullptr, -1,
                                        file))
    Fail("quorix_GenerateDataSoftwareHouse");
  quorix_text_release(*t.house.out());
  *t.house.out() = quorix_text_new(path.data(), static_cast<int32_t>(path.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "list") == 0) {
    for (const Builder& b : kBuilders) std::printf("%s\n", b.name);
    return 0;
  }
  const Builder* builder = nullptr;
  for (const Builder& b : kBuilders)
    if (argc == 3 && std::strcmp(argv[1], b.name) == 0) builder = &b;
  const int lines = argc == 3 ? std::atoi(argv[2]) : 0;
  if (!builder || lines <= 0) {
    std::fprintf(stderr, "usage: line_cost list | line_cost BUILDER LINES\n");
    return 2;
  }
  Texts t;
  std::string house;
  if (std::strcmp(builder->name, "anexo_vi") == 0) {
    const char* tmp = std::getenv("TMPDIR");
    house = std::string(tmp && *tmp ? tmp : ".") + "/quorix-line-cost-house.ini";
    WriteSoftwareHouse(house, t);
  }
  // A totals line counts the report's lines so far: it is measured in reports
  // of 100 lines, so that each counts as many; the others in one report.
  const int perReport = std::strcmp(builder->name, "totally") == 0 ? 100 : lines;
  for (int i = 0; i < lines; ++i) {
    if (i % perReport == 0) {
      if (i > 0) quorix_FinalizarPAF(nullptr, nullptr, nullptr, 0);
      OpenReport();
    }
    if (!builder->call(t, i)) Fail(builder->name);
  }
  quorix_FinalizarPAF(nullptr, nullptr, nullptr, 0);
  if (!house.empty()) std::remove(house.c_str());
  return 0;
}
