#pragma once
// Picks the model class for a configured model name, compared exactly.
#include <cstdint>
#include <memory>
#include <string>

#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

// The platform's "invalid parameter" code, reported for an unknown model name.
constexpr int32_t kUnknownModelError = 87;

// Returns the model object, or null with *error = 87 when no model has that name.
std::unique_ptr<CPrinterBase> CreatePrinterModel(const std::u16string& modelName, int32_t* error);

}  // namespace Printer
}  // namespace QEL
