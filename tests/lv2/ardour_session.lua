-- The Ardour side of the plug-in's session round trip, run by ardour7-lua:
--
--   ardour7-lua ardour_session.lua build DIR URI LEFT RIGHT FRAMES HANDSHAKE
--     A new session "rt" at 48 kHz in DIR on the "None (Dummy)" backend, one
--     stereo track with the plug-in URI on it, and the mono files LEFT and
--     RIGHT (FRAMES frames each) imported as one stereo region at the start of
--     the track, the session range around it. The transport then plays the
--     region once with the plug-in's Pass on Preview, so the instance captures
--     it and its state changes; Pass goes back to Process and the session is
--     saved, again and again until the test says the saved state is the one it
--     waits for (HANDSHAKE: the script writes "saved" with a count after each
--     save, the test answers in "verdict": "again" or "done").
--
--   ardour7-lua ardour_session.lua reload DIR
--     Loads the session and saves it again.
--
-- Every step that fails raises an error: ardour7-lua then prints it and the
-- test sees no "round trip: ..." line for the step.

local SuperclockPerSample = 282240000 // 48000 -- Ardour 7's superclock at 48 kHz
local Session_name = "rt"

local function fail(what) error("round trip failed: " .. what, 0) end

local function readFile(path)
  local f = io.open(path, "rb") or fail("cannot read " .. path)
  local text = f:read("a")
  f:close()
  return text
end

-- Written whole, then renamed into place: a reader never sees half of it.
local function writeFile(path, text)
  local f = io.open(path .. ".part", "wb") or fail("cannot write " .. path)
  f:write(text)
  f:close()
  assert(os.rename(path .. ".part", path))
end

local function startEngine()
  AudioEngine:set_backend("None (Dummy)", "", "")
end

local function relayTrack()
  return Session:route_by_name("Relay"):to_track()
end

local function setPass(value)
  local plugin = relayTrack():nth_plugin(0)
  if plugin:isnil() then fail("the track has no plug-in") end
  if not ARDOUR.LuaAPI.set_processor_param(plugin, 0, value) then fail("cannot set Pass") end
end

-- A session with the track and the plug-in, saved and closed.
local function createSession(dir, uri)
  if not create_session(dir, Session_name, 48000) then fail("create_session") end
  local tracks = Session:new_audio_track(2, 2, nil, 1, "Relay", ARDOUR.PresentationInfo.max_order,
                                         ARDOUR.TrackMode.Normal, true)
  if tracks:size() ~= 1 then fail("new_audio_track") end
  local plugin = ARDOUR.LuaAPI.new_plugin(Session, uri, ARDOUR.PluginType.LV2, "")
  if plugin:isnil() then fail("no plug-in " .. uri) end
  if tracks:front():add_processor_by_index(plugin, 0, nil, true) ~= 0 then fail("add_processor_by_index") end
  if Session:save_state("", false, false, false, false, false) ~= 0 then fail("save_state") end
  close_session()
end

-- What Ardour's import leaves in a session, written into the closed session's
-- file: the files in the session's audio folder, one source per channel, the
-- whole-file region over both, its copy at position 0 in the track's
-- playlist, and the session range around it. Region fades and transport
-- fades are off: the exported audio is then the region's, sample for sample.
local function importRegion(dir, left, right, frames)
  local audio = dir .. "/interchange/" .. dir:match("([^/]+)/*$") .. "/audiofiles/"
  writeFile(audio .. "noise%L.wav", readFile(left))
  writeFile(audio .. "noise%R.wav", readFile(right))

  local file = dir .. "/" .. Session_name .. ".ardour"
  local xml = readFile(file)
  local length = "a" .. math.tointeger(frames * SuperclockPerSample)
  local source = '<Source name="noise%%%s.wav" type="audio" flags="" id="%d" natural-position="a0" ' ..
                 'channel="0" origin="" gain="1"/>'
  local region = '<Region name="%s" muted="0" opaque="1" locked="0" video-locked="0" automatic="0" ' ..
                 'whole-file="%d" import="1" external="0" sync-marked="0" left-of-split="0" ' ..
                 'right-of-split="0" hidden="0" position-locked="0" valid-transients="0" start="a0" ' ..
                 'length="' .. length .. '@a0" sync-position="a0" ancestral-start="a0" ' ..
                 'ancestral-length="a0@a0" stretch="1" shift="1" layering-index="0" tags="" contents="0" ' ..
                 'envelope-active="0" default-fade-in="0" default-fade-out="0" fade-in-active="0" ' ..
                 'fade-out-active="0" scale-amplitude="1" id="%d" type="audio" first-edit="nothing" ' ..
                 'source-0="900001" source-1="900002" master-source-0="900001" master-source-1="900002" ' ..
                 'channels="2"/>'
  -- Patterns and what replaces their first match (a function: the texts hold "%").
  local sources = source:format("L", 900001) .. source:format("R", 900002)
  local replacements = {
    {'<Sources/>', function() return '<Sources>' .. sources .. '</Sources>' end},
    {'<Regions/>', function() return '<Regions>' .. region:format("noise", 1, 900003) .. '</Regions>' end},
    {'<Locations/>', function()
      return '<Locations><Location id="900005" name="session" start="a0" end="' .. length ..
             '" flags="IsSessionRange" locked="0" cue="0"/></Locations>'
    end},
    {'(<Playlist [^>]*name="Relay"[^>]*)/>', function(playlist)
      return playlist .. '>' .. region:format("noise.1", 0, 900004) .. '</Playlist>'
    end},
    {'id%-counter="%d+"', function() return 'id-counter="900010"' end},
    {'name="use%-region%-fades" value="1"', function() return 'name="use-region-fades" value="0"' end},
    {'name="use%-transport%-fades" value="1"', function() return 'name="use-transport-fades" value="0"' end},
  }
  for _, r in ipairs(replacements) do
    local count
    xml, count = xml:gsub(r[1], r[2], 1)
    if count ~= 1 then fail("the session file has no " .. r[1]) end
  end
  writeFile(file, xml)
end

-- The transport plays the region once, from its start to past its end.
local function playOnce(frames)
  Session:request_locate(0, false, ARDOUR.LocateTransportDisposition.MustStop, ARDOUR.TransportRequestSource.TRS_UI)
  Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
  local waited = 0
  while Session:transport_sample() < frames + 4800 do
    sleep(0.05)
    waited = waited + 0.05
    if waited > 120 then fail("the transport did not play the region") end
  end
  Session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
  while not Session:transport_stopped() do sleep(0.05) end
end

-- Saves until the test answers "done" to the latest save.
local function saveUntilDone(handshake)
  for count = 1, 400 do
    if Session:save_state("", false, false, false, false, false) ~= 0 then fail("save_state") end
    writeFile(handshake .. "/saved", tostring(count))
    local verdict = handshake .. "/verdict"
    local answer
    for _ = 1, 1200 do
      local f = io.open(verdict, "rb")
      if f then
        answer = f:read("a")
        f:close()
        if answer:match("^" .. count .. " ") then break end
      end
      sleep(0.05)
    end
    if not answer or not answer:match("^" .. count .. " ") then fail("no verdict on save " .. count) end
    if answer:match(" done$") then return end
  end
  fail("the test never said done")
end

local function create(dir, uri)
  startEngine()
  createSession(dir, uri)
  print("round trip: created")
end

local function capture(dir, left, right, frames, handshake)
  importRegion(dir, left, right, frames)
  startEngine()
  if not load_session(dir, Session_name) then fail("load_session after the import") end
  if relayTrack():playlist():n_regions() ~= 1 then fail("the imported region is not on the track") end
  setPass(1)
  playOnce(frames)
  setPass(0)
  saveUntilDone(handshake)
  close_session()
  print("round trip: captured")
end

local function reload(dir)
  startEngine()
  if not load_session(dir, Session_name) then fail("load_session") end
  if Session:save_state("", false, false, false, false, false) ~= 0 then fail("save_state") end
  close_session()
  print("round trip: reloaded")
end

local ok, err = pcall(function()
  if arg[1] == "create" then
    create(arg[2], arg[3])
  elseif arg[1] == "capture" then
    capture(arg[2], arg[3], arg[4], tonumber(arg[5]), arg[6])
  elseif arg[1] == "reload" then
    reload(arg[2])
  else
    fail("unknown step " .. tostring(arg[1]))
  end
end)
if not ok then
  print(err)
  pcall(close_session)
end
