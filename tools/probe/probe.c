/* A 32-bit Windows program that only says it ran. ./lerva runs it under
   Wine to learn whether this machine runs 32-bit programs at all: some
   kernels run none, though every package installs. */
#include <stdio.h>

int main(void) {
    puts("lerva-probe: a 32-bit program ran");
    return 0;
}
