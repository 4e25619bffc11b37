#include "MdbDatabase.h"

std::unique_ptr<IDatabase> OpenMdbDatabase(const std::string& path)
{
    throw CDatabaseError("Unable to open \"" + path + "\": this kind of file cannot be read yet.");
}
