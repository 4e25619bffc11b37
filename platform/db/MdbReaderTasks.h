#pragma once

#include <string>

#include "platform/db/MdbWire.h"

// What a reader process does for the program, each on a file of its own
// opening. Each writes its answer (names, records) followed by an end
// message, or an error message with a text for the user.

// The names of every table, system tables included, in catalog order.
void SendTableNames(const std::string& path, CWireWriter& out);

// The names of the fields of the table named exactly `table`, in order.
void SendFieldNames(const std::string& path, const std::string& table, CWireWriter& out);

// The table's field names, then every record.
void SendRecords(const std::string& path, const std::string& table, CWireWriter& out);
