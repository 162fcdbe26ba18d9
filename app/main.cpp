// CorvexZR: the program a technician opens. It talks to a real analyzer through libftdi.
#include "app/programentry.h"
#include "link/ftdibackend.h"

namespace {

class RealAnalyzer : public AnalyzerBackend {
public:
    FtdiDriver& Driver() override { return m_driver; }

private:
    LibFtdiDriver m_driver;
};

} // namespace

int main(int argc, char** argv) {
    return RunProgram(argc, argv, [](QWidget&) { return std::make_unique<RealAnalyzer>(); });
}
