// Loads a BMP file and saves it again under another name.
//   copy_bitmap IN.bmp OUT.bmp
#include <SaveBitmapToFile.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s IN.bmp OUT.bmp\n", argv[0]);
        return 2;
    }
    HBITMAP bitmap = LoadBitmapFromFileA(argv[1]);
    if (bitmap == NULL) {
        std::fprintf(stderr, "cannot load %s\n", argv[1]);
        return 1;
    }
    BOOL saved = SaveBitmapToFileA(argv[2], bitmap);
    DeleteObject(bitmap);
    if (!saved) {
        std::fprintf(stderr, "cannot save %s\n", argv[2]);
        return 1;
    }
    return 0;
}
