#include "DbVariant.h"

// Placeholder bodies while the coercion is being built.
std::optional<double> VariantToDouble(const CDbVariant&) { return std::nullopt; }
std::string VariantToText(const CDbVariant&) { return {}; }
