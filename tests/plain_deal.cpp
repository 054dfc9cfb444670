// The deal program written the plain way, with one scanf per integer and one
// printf per card. The tests hold the real program to its output byte for
// byte, and the benchmarks measure against it. Valid only for hand counts
// from -429496729 to 1010.
#include <cstdio>

int N;
int stack[5050];
int cards[1010][5];

void simulate_round() {
    int p = 5 * N - 1;
    for (int i = 0; i < N; ++i) {
        cards[i][0] = stack[p--];
        cards[i][1] = stack[p--];
    }
    for (int i = 0; i < N; ++i) {
        cards[i][2] = stack[p--];
        cards[i][3] = stack[p--];
    }
    for (int i = 0; i < N; ++i)
        cards[i][4] = stack[p--];
    p = 0;
    for (int h = N - 1; h >= 0; --h)
        for (int s = 4; s >= 0; --s)
            stack[p++] = cards[h][s];
}

void print_stack() {
    for (int p = 0; p < 5 * N; ++p)
        std::printf("%2d ", stack[p]);
    std::putchar('\n');
}

int main() {
    std::scanf("%d", &N);
    for (int p = 0; p < 5 * N; ++p)
        stack[p] = p;
    int token;
    while (std::scanf("%d", &token) == 1) {
        print_stack();
        simulate_round();
    }
    return 0;
}
