#pragma once

#include "GuiTestSupport.h"

#include "host/app/TApplication.h"
#include "host/app/TForm.h"
#include "host/data/TClientDataSet.h"
#include "host/data/TDataSource.h"
#include "host/grid/TDBGrid.h"

#include <QApplication>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

// A grid on a shown form over a small service list: code, name and mark columns, every event logged
// in the order it happened.
struct GridFixture {
    GuiDialogSeam seam;
    std::unique_ptr<host::TClientDataSet> set =
        std::make_unique<host::TClientDataSet>(QStringLiteral("cdsServico"));
    std::unique_ptr<host::TDataSource> source = std::make_unique<host::TDataSource>();
    host::TForm* form = host::Application().CreateForm<host::TForm>();
    host::TDBGrid* grid = new host::TDBGrid(form, QStringLiteral("dbgServico"));
    QStringList log;

    GridFixture() {
        set->AddStringField(QStringLiteral("CDSERVFILI"), 5).SetDisplayLabel(QStringLiteral("Código"));
        set->AddStringField(QStringLiteral("NMSERVICO"), 40)
            .SetDisplayLabel(QStringLiteral("Nome do Serviço"));
        set->AddStringField(QStringLiteral("IDMARCADO"), 1);
        set->AfterScroll = [this](host::TClientDataSet& s) {
            log << QStringLiteral("scroll %1").arg(s.RecNo());
        };
        source->SetDataSet(set.get());
        for (const char* name : {"CDSERVFILI", "NMSERVICO", "IDMARCADO"}) {
            host::TColumn& column = grid->Columns().Add();
            column.SetFieldName(QString::fromLatin1(name));
        }
        grid->Columns().Items(0).SetWidth(51);
        grid->Columns().Items(2).SetWidth(31);
        grid->SetDataSource(source.get());
        grid->SetBounds(0, 0, 400, 200);
        form->SetClientSize(400, 200);
        form->Show();
        QApplication::setActiveWindow(form);
        grid->setFocus();
        GuiDrain();
    }

    // Loads rows of code, name and mark; the log starts empty after it.
    void load(const std::vector<std::vector<std::string>>& rows) {
        proto::Packet packet;
        packet.fields = {{"CDSERVFILI", proto::FieldType::String, 5},
                         {"NMSERVICO", proto::FieldType::String, 40},
                         {"IDMARCADO", proto::FieldType::String, 1}};
        for (const auto& row : rows)
            packet.rows.push_back({row[0], row[1], row[2]});
        set->LoadPacket(packet);
        log.clear();
        GuiDrain();
    }
    void loadThree() { load({{"001", "Almoço", "N"}, {"002", "Jantar", "S"}, {"003", "Ceia", "N"}}); }

    QPoint cellCentre(int row, int column) const { return grid->CellRect(row, column).center(); }
};
