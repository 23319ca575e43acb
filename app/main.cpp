#include "app/CPosToolApp.h"

int main(int argc, char** argv)
{
    tallyx::CPosToolApp app(argc, argv);
    return app.InitInstance() ? 0 : 1;
}
