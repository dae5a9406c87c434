#pragma once

#include "host/data/TClientDataSet.h"
#include "protocol/Packet.h"

#include <QString>

#include <vector>

namespace results {

// One persistent field as the form declares it. Type and size come from the shared field table, so
// a name means the same in every set that has it.
struct FieldLayout {
    const char* name;
    const char16_t* label = nullptr;     // nullptr: the form sets none, the grid shows the field name
    const char* displayFormat = nullptr; // float fields only
    const char* textHandler = nullptr;   // bound later by the display subsystem, by this name
};

struct SetLayout {
    const char* name;
    const char* dataSource; // nullptr for a set no grid shows (cdsDataSemana)
    std::vector<FieldLayout> fields;
};

struct SharedFieldType {
    const char* name;
    proto::FieldType type;
    int size; // characters, string fields only
};

// Every record set of the screen, fields in declared order.
const std::vector<SetLayout>& recordLayouts();
const SetLayout* findRecordLayout(const QString& setName);

// The type and size of a field name wherever it occurs; nullptr for a name no set declares.
const SharedFieldType* sharedFieldType(const QString& fieldName);

// Declares the layout's fields on a closed set, with labels, formats and sizes.
void declareFields(host::TClientDataSet& set, const SetLayout& layout);

} // namespace results
