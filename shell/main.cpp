// Entry point of the QUIRAN program.
int main() {
    return 0;
}
