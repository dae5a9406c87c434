#include "ModuleFixture.h"

#include "host/app/TApplication.h"
#include "host/app/TColors.h"
#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/grid/DataSetModel.h"
#include "host/grid/TDBGrid.h"
#include "host/grid/TImage.h"
#include "protocol/DateTime.h"
#include "results/RecordLayouts.h"

#include <QImage>
#include <QLocale>

#include <map>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

using Row = std::map<std::string, proto::Value>;

// A packet with every field the set declares, null unless the row gives it.
proto::Packet packetFor(const QString& setName, const std::vector<Row>& rows) {
    const results::SetLayout& layout = *results::findRecordLayout(setName);
    proto::Packet packet;
    for (const results::FieldLayout& field : layout.fields) {
        const results::SharedFieldType& type = *results::sharedFieldType(QLatin1StringView(field.name));
        packet.fields.push_back({field.name, type.type, type.size});
    }
    for (const Row& row : rows) {
        std::vector<proto::Value> values;
        for (const proto::FieldDef& field : packet.fields) {
            const auto found = row.find(field.name);
            values.push_back(found == row.end() ? proto::Value{} : found->second);
        }
        packet.rows.push_back(values);
    }
    return packet;
}

class DisplayTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
        // Two masks that tell the two kinds of code apart.
        OperatorContext::instance().set(keys::kMaskKind0, u">aa-aaaa;0; "_s);
        OperatorContext::instance().set(keys::kMaskKind1, u">aaaa/aa;0; "_s);
        form = Application().CreateForm<TfrmAnalRestCont>();
        // Only what is shown matters here: loading a summary fetches no days.
        for (const results::SetLayout& layout : results::recordLayouts())
            form->FindRecordSet(QLatin1StringView(layout.name))->AfterScroll = nullptr;
    }
    void TearDown() override {
        delete form.data();
        QLocale::setDefault(QLocale::c());
        OperatorContext::instance().clear();
        ModuleTest::TearDown();
    }
    QString text(TClientDataSet& set, const char* field) {
        TField& f = set.FieldByName(QLatin1StringView(field));
        EXPECT_EQ(f.DisplayText(), f.Text()) << "display and edit texts are one";
        return f.DisplayText();
    }
    QPointer<TfrmAnalRestCont> form;
};

TEST_F(DisplayTest, EveryTextHandlerOfTheLayoutsHasItsRule) {
    int bound = 0;
    for (const results::SetLayout& layout : results::recordLayouts())
        for (const results::FieldLayout& field : layout.fields)
            if (field.textHandler) {
                ++bound;
                EXPECT_TRUE(form->FindRecordSet(QLatin1StringView(layout.name))
                                ->FieldByName(QLatin1StringView(field.name))
                                .OnGetText)
                    << field.textHandler;
            }
    EXPECT_EQ(bound, 38);
}

TEST_F(DisplayTest, MenuDaysShowTheirWeekdayAndNullStaysEmpty) {
    const proto::DateTime monday = proto::fromCivil({2026, 3, 2});
    proto::DateTime withTime = monday;
    withTime.days += 0.5;
    form->cdsLimNutriDet.LoadPacket(
        packetFor(u"cdsLimNutriDet"_s, {{{"DTCARDAPIO", monday}}, {{"DTCARDAPIO", withTime}}, {}}));
    EXPECT_EQ(text(form->cdsLimNutriDet, "DTCARDAPIO"), u"02/03/2026 seg"_s);
    form->cdsLimNutriDet.Next();
    const QString timed = text(form->cdsLimNutriDet, "DTCARDAPIO");
    EXPECT_TRUE(timed.startsWith(u"02/03/2026 12:00"_s)) << timed.toStdString();
    EXPECT_TRUE(timed.endsWith(u" seg"_s)) << timed.toStdString();
    form->cdsLimNutriDet.Next();
    EXPECT_EQ(text(form->cdsLimNutriDet, "DTCARDAPIO"), QString());
}

TEST_F(DisplayTest, DishTypesCarryTheOptionMarkOnlyForAnExactYesOrNo) {
    form->cdsRestProdDet.LoadPacket(
        packetFor(u"cdsRestProdDet"_s,
                  {{{"NMTIPOPRAT", std::string("  Guarnição  ")}, {"IDOPCCNFMES", std::string("S")}},
                   {{"NMTIPOPRAT", std::string("  Guarnição  ")}, {"IDOPCCNFMES", std::string("N")}},
                   {{"NMTIPOPRAT", std::string("Sobremesa")}, {"IDOPCCNFMES", std::string("s")}},
                   {{"NMTIPOPRAT", std::string("Sobremesa")}, {"IDOPCCNFMES", std::string(" ")}},
                   {{"NMTIPOPRAT", std::string("Sobremesa")}},
                   {{"IDOPCCNFMES", std::string("S")}}}));
    const QStringList expected{u"Guarnição (Opção)"_s, u"  Guarnição  "_s, QString(), QString(), QString(),
                               u" (Opção)"_s};
    for (const QString& want : expected) {
        EXPECT_EQ(text(form->cdsRestProdDet, "NMTIPOPRAT"), want) << "row " << form->cdsRestProdDet.RecNo();
        form->cdsRestProdDet.Next();
    }
}

TEST_F(DisplayTest, NamesShowTheirCodeLaidOutByTheirKindOfMask) {
    const Row dish{{"NMPRATO", std::string(" Arroz ")},
                   {"CDPRATO", std::string("abc123")},
                   {"NMPRODUTO", std::string("Feijão")},
                   {"CDPRODUTO", std::string("x1y2z3")},
                   {"CDARVPROD", std::string("pq9876")}};
    form->cdsFreqPratSem.LoadPacket(packetFor(u"cdsFreqPratSem"_s, {dish}));
    EXPECT_EQ(text(form->cdsFreqPratSem, "NMPRATO"), u"Arroz (ABC1/23)"_s) << "dish codes of the frequencies";
    form->cdsLimPePra.LoadPacket(packetFor(u"cdsLimPePra"_s, {dish}));
    EXPECT_EQ(text(form->cdsLimPePra, "NMPRATO"), u"Arroz (AB-C123)"_s)
        << "per-capita dishes use the product kind";
    EXPECT_EQ(text(form->cdsLimPePra, "NMPRODUTO"), u"Feijão (X1-Y2Z3)"_s);
    form->cdsRestProd.LoadPacket(packetFor(u"cdsRestProd"_s, {dish}));
    EXPECT_EQ(text(form->cdsRestProd, "NMPRODUTO"), u"Feijão (PQ-9876)"_s)
        << "the tree code, not the product's";
    form->cdsRestProdDet.LoadPacket(packetFor(u"cdsRestProdDet"_s, {dish}));
    EXPECT_EQ(text(form->cdsRestProdDet, "NMPRODUTO"), u"Feijão ( PQ-9876)"_s);
    EXPECT_EQ(text(form->cdsRestProdDet, "NMPRATO"), u"Arroz (ABC1/23)"_s);

    form->cdsFreqPratMes.LoadPacket(packetFor(
        u"cdsFreqPratMes"_s, {{{"CDPRATO", std::string("abc123")}}, {{"NMPRATO", std::string("Arroz")}}}));
    EXPECT_EQ(text(form->cdsFreqPratMes, "NMPRATO"), QString()) << "a null name hides its code";
    form->cdsFreqPratMes.Next();
    OperatorContext::instance().set(keys::kMaskKind1, u">aaaaaa;0; "_s);
    EXPECT_EQ(text(form->cdsFreqPratMes, "NMPRATO"), u"Arroz ()"_s) << "an empty code keeps the parentheses";
}

// The weekly dish-use grid on screen, its first row drawn.
class WeeklyGridTest : public DisplayTest {
protected:
    QImage drawn() {
        // The rows are the test's own: showing the page must not reload them.
        boUtilPratSem = false;
        form->Show();
        form->resize(900, 500);
        form->tshUtilPratSem->SetVisible(true);
        form->tshUtilPratSem->SetTabVisible(true);
        form->pgcVerifica->SetActivePage(form->tshVerificar);
        form->pgcPadrao->SetActivePage(form->tshUtilPratSem);
        GuiDrain();
        grid = form->FindGrid(u"dbgUtilPratSem"_s);
        grid->resize(800, 200);
        return grid->viewport()->grab().toImage();
    }
    // Whether the cell shows the image at the offset, olive replaced by the background.
    static bool showsImage(const QImage& image, const QRect& cell, int offset, const TBitmap& picture,
                           const QColor& background) {
        for (int y = 0; y < std::min(picture.Height(), cell.height()); ++y)
            for (int x = 0; x < picture.Width(); ++x) {
                QColor want = picture.Pixel(x, y);
                if (want == clOlive())
                    want = background;
                if (image.pixelColor(cell.left() + offset + x, cell.top() + y) != want)
                    return false;
            }
        return true;
    }
    static bool plain(const QImage& image, const QRect& cell, const QColor& background) {
        for (int y = cell.top() + 1; y < cell.bottom() - 1; ++y)
            for (int x = cell.left() + 1; x < cell.right() - 1; ++x)
                if (image.pixelColor(x, y) != background)
                    return false;
        return true;
    }
    TDBGrid* grid = nullptr;
};

TEST_F(WeeklyGridTest, DayFlagsAreBoxesOnTheCellsOwnBackground) {
    form->cdsUtilPratSem.LoadPacket(packetFor(
        u"cdsUtilPratSem"_s, {{{"NMPRATO", std::string("Arroz")},
                               {"IDUTPRATSEG", std::string("S")},
                               {"IDUTPRATTER", std::string("N")},
                               {"IDUTPRATQUA", std::string("s")},
                               {"IDUTPRATQUI", std::string(" ")},
                               {"IDUTPRATDOM", std::string("S")}},
                              {{"NMPRATO", std::string("Feijão")}, {"IDUTPRATSEG", std::string("N")}}}));
    form->cdsUtilPratSem.Last(); // the first row is drawn unselected
    const QImage image = drawn();
    const QColor background = grid->Color();
    ASSERT_EQ(form->imgCheck->Picture().Width(), 16);
    ASSERT_EQ(form->imgUncheck->Picture().Height(), 16);
    const auto column = [&](const char* field) {
        for (int i = 0; i < grid->Columns().Count(); ++i)
            if (grid->Columns()[i].FieldName() == QLatin1StringView(field))
                return i;
        return -1;
    };
    EXPECT_TRUE(showsImage(image, grid->CellRect(0, column("IDUTPRATSEG")), 4, form->imgCheck->Picture(),
                           background));
    EXPECT_TRUE(showsImage(image, grid->CellRect(0, column("IDUTPRATTER")), 4, form->imgUncheck->Picture(),
                           background));
    EXPECT_TRUE(
        showsImage(image, grid->CellRect(0, column("IDUTPRATDOM")), 5, form->imgCheck->Picture(), background))
        << "Sunday's box sits one pixel further right";
    EXPECT_FALSE(plain(image, grid->CellRect(0, column("IDUTPRATDOM")), background)) << "a box is drawn";
    EXPECT_FALSE(showsImage(image, grid->CellRect(0, column("IDUTPRATDOM")), 4, form->imgCheck->Picture(),
                            background));
    for (const char* blank : {"IDUTPRATQUA", "IDUTPRATQUI", "IDUTPRATSEX"})
        EXPECT_TRUE(plain(image, grid->CellRect(0, column(blank)), background))
            << blank << ": no letter, no box";
    // The selected cell of the second row: the box on the selection colour.
    grid->SetSelectedIndex(column("IDUTPRATSEG"));
    const QImage selected = grid->viewport()->grab().toImage();
    EXPECT_TRUE(showsImage(selected, grid->CellRect(1, column("IDUTPRATSEG")), 4, form->imgUncheck->Picture(),
                           grid->SelectionColor()));
}

} // namespace
