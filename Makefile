# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test package clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Without ARGS the jukebox plays the demo module of ours that the build makes.
run: build
	$(BUILD)/jukarium $(if $(ARGS),$(ARGS),$(BUILD)/demo/jukarium-demo.xm)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# A Debian package of the program: $(BUILD)/jukarium_<version>_<architecture>.deb. It needs
# the program built, not the tests.
package: configure
	@cmake --build $(BUILD) -j $(JOBS) --target jukarium
	cd $(BUILD) && cpack

clean:
	rm -rf $(BUILD)
