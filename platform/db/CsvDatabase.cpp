#include "CsvDatabase.h"

std::unique_ptr<IDatabase> OpenCsvDatabase(const std::string& path)
{
    throw CDatabaseError("Unable to open \"" + path + "\": this kind of file cannot be read yet.");
}
