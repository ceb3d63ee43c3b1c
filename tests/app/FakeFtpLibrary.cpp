// A library that loads as the FTP library: the application only loads and releases it.
extern "C" int FakeFtpLibraryMarker() {
    return 1;
}
