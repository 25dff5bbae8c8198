# The two set-up commands of the README, and what they are made of.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
EXAMPLE    ?= examples/pipeline.arc

.PHONY: run test asan-test fuzz deps build

deps:
	./scripts/install-deps

build: deps
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/quiran $(EXAMPLE)

test: build
	./scripts/run-tests $(BUILD)

asan-test: deps
	cmake -S . -B $(ASAN_BUILD) -DQUIRAN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp UBSAN_OPTIONS=print_stacktrace=1 ./scripts/run-tests $(ASAN_BUILD)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DQUIRAN_FUZZ=ON -DBUILD_TESTING=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_all
	./scripts/run-fuzz $(FUZZ_BUILD)
