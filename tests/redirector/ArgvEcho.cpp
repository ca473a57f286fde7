// Prints its working directory and then each argument in brackets, one per
// line, so a test can see exactly how it was started. Reads standard input
// through to the end when the first argument is "--cat".
#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv)
{
    char cwd[4096];
    std::printf("cwd=%s\n", getcwd(cwd, sizeof cwd) ? cwd : "?");
    for (int i = 1; i < argc; ++i)
        std::printf("[%s]\n", argv[i]);
    if (argc > 1 && std::strcmp(argv[1], "--cat") == 0) {
        int c;
        while ((c = std::getchar()) != EOF)
            std::putchar(c);
    }
    return 0;
}
