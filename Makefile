# The two everyday commands: `make run` and `make test`. Both install what is missing first.
# `make install`, `make uninstall` and `make package` put Dayvane on the system like any Debian program.
BUILD ?= build
GENERATOR ?= Ninja
JOBS ?= $(shell nproc)

.PHONY: deps configure build run widgets install uninstall package test bench clean

deps:
	@bash scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# What an install holds: the application, the widget host with its plugin, and the generated data files.
INSTALLED_TARGETS = dayvane dayvane-widget-host DayvaneWidget dayvane-data

# Starts the application from the build tree, building it alone. It writes nothing into the user's
# folders: the desktop entry and the dayvane: link scheme come with `make install` or the package.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target dayvane
	./$(BUILD)/Sources/Dayvane/dayvane

# Builds the widget host with its plugin and starts it (a second start opens its gallery).
widgets: configure
	cmake --build $(BUILD) -j $(JOBS) --target dayvane-widget-host DayvaneWidget
	./$(BUILD)/Sources/DayvaneWidgetHost/dayvane-widget-host

PREFIX ?= /usr/local
# A copy of the install's manifest: CPack writes install_manifest.txt of its own staging tree over it.
MANIFEST = $(BUILD)/installed-files.txt

# Installs under $(PREFIX) (staged under $(DESTDIR) when given), recording each file in $(MANIFEST).
install: configure
	cmake --build $(BUILD) -j $(JOBS) --target $(INSTALLED_TARGETS)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"
	cp $(BUILD)/install_manifest.txt $(MANIFEST)
	@# Lets the desktop find the handler of dayvane: links among the installed entries.
	$(if $(DESTDIR),,-command -v update-desktop-database >/dev/null && update-desktop-database -q "$(PREFIX)/share/applications")

# Removes exactly the files the last install recorded, then the folders of ours it leaves empty.
uninstall:
	bash scripts/uninstall "$(MANIFEST)" "$(DESTDIR)"

# The Debian package, $(BUILD)/dayvane_<version>-<revision>_<arch>.deb.
package: configure
	cmake --build $(BUILD) -j $(JOBS) --target $(INSTALLED_TARGETS)
	cd $(BUILD) && cpack -G DEB

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	bash bench/run-all $(BUILD)

clean:
	rm -rf $(BUILD)
