#pragma once
// Shared ground of the front-end tests: the application object and Windows paths of scratch files.
#include <QApplication>
#include <QString>
#include <string>

#include "tests/support/scratch_folder.h"

namespace coretest {

// The one QApplication of the test process, made on first use.
QApplication& App();

// The Z:\ path of a file in the scratch folder, as the front end holds it.
QString WindowsPath(const testsupport::ScratchFolder& scratch, const std::string& relative);

// The bytes of a file below tests/core/fixtures.
std::string Fixture(const std::string& name);

}  // namespace coretest
