# make run   set up, build and start the program
# make test  set up, build and run every test
# make fuzz  set up, build the fuzzing harnesses (clang, sanitizers) in build-fuzz and run each a while
# make install  build, then install the program, its desktop entry and icon (PREFIX, DESTDIR)
BUILD_DIR ?= build
PREFIX ?= /usr/local

.PHONY: all setup build run test bench install fuzz format clean

all: build

setup:
	@scripts/setup.sh

build: setup
	@scripts/build.sh $(BUILD_DIR)

run: build
	@scripts/run-program.sh $(BUILD_DIR)

test: build
	@scripts/check-format.sh
	@scripts/run-tests.sh $(BUILD_DIR)

bench: build
	@scripts/run-bench.sh $(BUILD_DIR)

fuzz: setup
	@scripts/fuzz.sh

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

format:
	@git ls-files -- '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)
