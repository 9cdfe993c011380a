// The ".cnv" file: the table read from and written to its sections-and-keys form through the
// INI module, every write a safe save, and the shipped default file.
#pragma once

#include <optional>
#include <string>

#include "conversion/conversion_table.h"

namespace conversion {

// Reads the file at `path` into `table`. A file that cannot be read gives its message and leaves
// `table` as it was; a definition whose unit cannot be resolved gives "Internal Error" and
// leaves `table` empty.
std::optional<std::string> ReadConvFile(const std::string& path, TCategoryList& table);
// Writes the whole table: categories in list order, definitions in table order, each line with
// the current positions of its units. Nothing on success, else the save's message.
std::optional<std::string> WriteConvFile(const std::string& path, const TCategoryList& table);

// The default file's bytes (11 categories, 89 definitions, an empty line after each category)
// and their safe save.
std::string DefaultConvFileBytes();
std::optional<std::string> WriteDefaultConvFile(const std::string& path);

}  // namespace conversion
