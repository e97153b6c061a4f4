// Program entry: replaced by the real start-up sequence as soon as the engine and the game shell exist.
int main() {
    return 0;
}
