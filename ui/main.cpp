// Densimo: converts glass-hydrometer readings to the density at 15 degC by
// JIS K 2249 tables 1A, 1B and 1D.
#include "DensimoApp.h"

int main(int argc, char** argv)
{
    CDensimoApp app(argc, argv);
    return app.Run();
}
