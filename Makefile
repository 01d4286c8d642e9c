# The two everyday commands: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
GENERATOR ?= Ninja
JOBS ?= $(shell nproc)

.PHONY: deps configure build run widgets test bench clean

deps:
	@bash scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Registers the desktop entry (and the dayvane: link scheme) for this user, pointing at the built program.
APPLICATIONS_DIR ?= $(or $(XDG_DATA_HOME),$(HOME)/.local/share)/applications

run: build
	@mkdir -p "$(APPLICATIONS_DIR)"
	@sed 's|^Exec=.*|Exec=$(abspath $(BUILD))/Sources/Dayvane/dayvane %U|' data/dayvane.desktop > "$(APPLICATIONS_DIR)/dayvane.desktop"
	-@command -v update-desktop-database >/dev/null && update-desktop-database "$(APPLICATIONS_DIR)" >/dev/null 2>&1 || true
	-@command -v xdg-mime >/dev/null && xdg-mime default dayvane.desktop x-scheme-handler/dayvane >/dev/null 2>&1 || true
	./$(BUILD)/Sources/Dayvane/dayvane

# Builds the widget host with its plugin and starts it (a second start opens its gallery).
widgets: configure
	cmake --build $(BUILD) -j $(JOBS) --target dayvane-widget-host DayvaneWidget
	./$(BUILD)/Platform/WidgetHost/dayvane-widget-host

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	bash bench/run-all $(BUILD)

clean:
	rm -rf $(BUILD)
